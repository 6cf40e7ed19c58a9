#include "desktop/window_pointer.h"

#include "core/report/failure.h"

void WindowPointer::setMousePointer(int value) {
    if (value != vbDefault && value != vbHourglass && value != vbCustom) {
        throw Failure(QStringLiteral("Invalid pointer setting: %1").arg(value));
    }
    m_value = value;
    if (m_window) {
        m_window->setCursor(shownCursor());
    }
}

void WindowPointer::setMouseIcon(const QCursor& cursor) {
    m_icon = cursor;
    if (m_value == vbCustom && m_window) {
        m_window->setCursor(shownCursor());
    }
}

QCursor WindowPointer::shownCursor() const {
    switch (m_value) {
    case vbHourglass:
        return {Qt::WaitCursor};
    case vbCustom:
        return m_icon ? *m_icon : QCursor(Qt::PointingHandCursor);
    default:
        return {Qt::ArrowCursor};
    }
}
