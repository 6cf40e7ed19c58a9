#pragma once

#include <QString>

// The three kinds of box the program shows. The value is the box's style
// number, the one the error report and the tests know it by.
// YesNoDefaultNo is a question whose default button (the one Enter presses)
// is No, for going on with something that cannot be undone.
enum class BoxStyle { Plain = 0, YesNo = 4, Warning = 48, YesNoDefaultNo = 260 };

// The button that closed a box.
enum class Answer { Ok = 1, Yes = 6, No = 7 };

// Modal message boxes, as every window of the program asks for them. A box
// given no title of its own shows the application title.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // A message with only an OK button and no icon.
    void tell(const QString& text, const QString& title = {}) {
        show(text, BoxStyle::Plain, titled(title));
    }
    // A message with an OK button and the warning icon.
    void warn(const QString& text, const QString& title = {}) {
        show(text, BoxStyle::Warning, titled(title));
    }
    // A question with Yes and No and no icon: Answer::Yes or Answer::No.
    Answer ask(const QString& text, const QString& title = {}) {
        return show(text, BoxStyle::YesNo, titled(title));
    }
    // The same question with No as the default button.
    Answer askDefaultNo(const QString& text, const QString& title = {}) {
        return show(text, BoxStyle::YesNoDefaultNo, titled(title));
    }

    void setAppTitle(const QString& title) { m_appTitle = title; }
    const QString& appTitle() const { return m_appTitle; }

protected:
    // Shows one box and returns the button pressed.
    virtual Answer show(const QString& text, BoxStyle style, const QString& title) = 0;

private:
    QString titled(const QString& title) const { return title.isEmpty() ? m_appTitle : title; }

    QString m_appTitle;
};
