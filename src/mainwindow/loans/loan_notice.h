#pragma once

#include <QPushButton>

// A single line just under the window saying how many loans are overdue; a
// click on it asks for the loans. A small window of its own, never modal,
// so the window's own controls keep their places; it follows the window
// as the window is placed, moved or resized.
class LoanNotice : public QPushButton {
    Q_OBJECT
public:
    explicit LoanNotice(QWidget& window);

    // Shows the count of overdue loans under the window's lower left corner.
    void showCount(int overdue);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Under the window's frame, or above it when the screen ends there.
    void place();
};
