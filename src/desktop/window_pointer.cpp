#include "desktop/window_pointer.h"

void WindowPointer::setShape(Pointer shape) {
    m_shape = shape;
    if (m_window) {
        m_window->setCursor(shownCursor());
    }
}

void WindowPointer::setHandPicture(const QCursor& cursor) {
    m_hand = cursor;
    if (m_shape == Pointer::Hand && m_window) {
        m_window->setCursor(shownCursor());
    }
}

QCursor WindowPointer::shownCursor() const {
    switch (m_shape) {
    case Pointer::Busy:
        return {Qt::WaitCursor};
    case Pointer::Hand:
        return m_hand ? *m_hand : QCursor(Qt::PointingHandCursor);
    case Pointer::Arrow:
        break;
    }
    return {Qt::ArrowCursor};
}
