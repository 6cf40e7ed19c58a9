#pragma once

#include <QString>

// Message boxes by style number, as every window of the program asks for them.
class MessageBoxes {
public:
    enum Style { vbOKOnly = 0, vbYesNo = 4, vbExclamation = 48 };
    enum Answer { vbOK = 1, vbYes = 6, vbNo = 7 };

    virtual ~MessageBoxes() = default;

    // Shows a modal box and returns the button pressed. An empty title means
    // the application title.
    int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = {}) {
        return show(text, style, title.isEmpty() ? m_appTitle : title);
    }

    void setAppTitle(const QString& title) { m_appTitle = title; }
    const QString& appTitle() const { return m_appTitle; }

protected:
    virtual int show(const QString& text, int style, const QString& title) = 0;

private:
    QString m_appTitle;
};
