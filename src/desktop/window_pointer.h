#pragma once

#include <QCursor>
#include <QPointer>
#include <QWidget>
#include <optional>

// The pointer shapes a window shows: the arrow, busy (the hourglass), and
// the window's own picture (the hand).
enum class Pointer { Arrow, Busy, Hand };

// One window's pointer. It applies to the window and every control on it
// that has no pointer of its own.
class WindowPointer {
public:
    explicit WindowPointer(QWidget* window) : m_window(window) {}

    Pointer shape() const { return m_shape; }
    void setShape(Pointer shape);

    // The picture shown for the hand; without one, Qt's pointing hand.
    void setHandPicture(const QCursor& cursor);
    bool hasHandPicture() const { return m_hand.has_value(); }
    QCursor shownCursor() const;

private:
    QPointer<QWidget> m_window;
    Pointer m_shape = Pointer::Arrow;
    std::optional<QCursor> m_hand;
};

// Shows the busy pointer for its lifetime and the arrow afterwards, so that
// no early way out of a long operation leaves the hourglass behind.
class BusyPointer {
public:
    explicit BusyPointer(WindowPointer& pointer) : m_pointer(pointer) {
        m_pointer.setShape(Pointer::Busy);
    }
    ~BusyPointer() {
        if (m_pointer.shape() == Pointer::Busy) {
            m_pointer.setShape(Pointer::Arrow);
        }
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    WindowPointer& m_pointer;
};
