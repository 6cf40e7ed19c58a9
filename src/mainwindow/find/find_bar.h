#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

// The find bar: the find text, how many movies the list shows out of all
// ("12 of 3 480") and a button that clears the text.
class FindBar : public QWidget {
    Q_OBJECT
public:
    explicit FindBar(QWidget* parent = nullptr);

    QLineEdit& field() { return *m_field; }
    void setCount(int shown, int total);
    // Instead of the count, why the text finds nothing new ("unknown field
    // foo"), in the colour of an error, until the next count.
    void setError(const QString& reason);
    bool showsError() const { return m_showsError; }
    QString countText() const;

    // "12 of 3 480": digits grouped by threes with a blank, whatever the locale.
    static QString countText(int shown, int total);

Q_SIGNALS:
    void textChanged(const QString& text);
    // Down, Return or Enter in the text: the user goes on to the list.
    void listWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_field = nullptr;
    QLabel* m_count = nullptr;
    QToolButton* m_clear = nullptr;
    bool m_showsError = false;
};
