#pragma once

#include <QPushButton>

// A single line over the foot of the window saying how many loans are
// overdue; a click on it asks for the loans. Never modal, never in the way
// of the window's own controls.
class LoanNotice : public QPushButton {
    Q_OBJECT
public:
    explicit LoanNotice(QWidget& window);

    // Shows the count of overdue loans at the window's lower left corner.
    void showCount(int overdue);
};
