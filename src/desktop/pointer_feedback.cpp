#include "desktop/pointer_feedback.h"

#include "desktop/window_pointer.h"

#include <QMouseEvent>
#include <QWidget>

PointerFeedback::PointerFeedback(WindowPointer& pointer, QWidget& window)
    : QObject(&window), m_pointer(pointer) {}

void PointerFeedback::hand(QWidget& control) {
    track(control, Pointer::Hand);
    for (QWidget* part : control.findChildren<QWidget*>()) {
        track(*part, Pointer::Hand);
    }
}

void PointerFeedback::arrow(QWidget& control) {
    track(control, Pointer::Arrow);
    for (QWidget* part : control.findChildren<QWidget*>()) {
        track(*part, Pointer::Arrow);
    }
}

void PointerFeedback::arrowOnBackground(QWidget& window) {
    track(window, Pointer::Arrow);
}

void PointerFeedback::track(QWidget& widget, Pointer shape) {
    if (!m_values.contains(&widget)) {
        widget.installEventFilter(this);
        connect(&widget, &QObject::destroyed, this,
                [this](QObject* gone) { m_values.remove(gone); });
    }
    m_values.insert(&widget, shape);
    // Movements without a pressed button reach the widget only with tracking on.
    widget.setMouseTracking(true);
}

bool PointerFeedback::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const auto* widget = static_cast<QWidget*>(watched);
        const auto* move = static_cast<QMouseEvent*>(event);
        // A movement a child did not take passes on to its parent; only the
        // widget right under the pointer decides.
        const bool overChild = widget->childAt(move->position().toPoint()) != nullptr;
        const auto found = m_values.constFind(watched);
        if (!overChild && found != m_values.constEnd() && m_pointer.shape() != Pointer::Busy) {
            m_pointer.setShape(found.value());
        }
    }
    return QObject::eventFilter(watched, event);
}
