#pragma once

#include <QCursor>
#include <QPointer>
#include <QWidget>
#include <optional>

// One window's pointer setting: 0 the arrow, 11 busy, 99 the window's own
// pointer picture (the hand). The setting applies to the window and every
// control on it that has no pointer of its own.
class WindowPointer {
public:
    enum Value { vbDefault = 0, vbHourglass = 11, vbCustom = 99 };

    explicit WindowPointer(QWidget* window) : m_window(window) {}

    int MousePointer() const { return m_value; }
    void setMousePointer(int value);

    // The picture shown for setting 99; without one, Qt's pointing hand.
    void setMouseIcon(const QCursor& cursor);
    bool hasMouseIcon() const { return m_icon.has_value(); }
    QCursor shownCursor() const;

private:
    QPointer<QWidget> m_window;
    int m_value = vbDefault;
    std::optional<QCursor> m_icon;
};

// Shows the busy pointer for its lifetime and the arrow afterwards, so that
// no early way out of a long operation leaves the hourglass behind.
class BusyPointer {
public:
    explicit BusyPointer(WindowPointer& pointer) : m_pointer(pointer) {
        m_pointer.setMousePointer(WindowPointer::vbHourglass);
    }
    ~BusyPointer() {
        if (m_pointer.MousePointer() == WindowPointer::vbHourglass) {
            m_pointer.setMousePointer(WindowPointer::vbDefault);
        }
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    WindowPointer& m_pointer;
};
