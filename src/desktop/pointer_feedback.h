#pragma once

#include "desktop/window_pointer.h"

#include <QHash>
#include <QObject>

class QWidget;

// Pointer feedback for one window: moving the pointer over a registered
// control gives the window that control's pointer (the hand over push
// buttons, the arrow elsewhere), except while the window shows the busy
// pointer. Controls that are not registered leave the pointer as it is.
// One line a control:
//
//     feedback->hand(*saveButton);
//     feedback->arrow(*list);
//     feedback->arrowOnBackground(*window);
class PointerFeedback : public QObject {
    Q_OBJECT
public:
    // Lives as long as the window (its parent); the pointer must too.
    PointerFeedback(WindowPointer& pointer, QWidget& window);

    // The hand while the pointer moves over the control.
    void hand(QWidget& control);
    // The arrow while the pointer moves over the control and its parts
    // (a list's rows, header and scroll bars).
    void arrow(QWidget& control);
    // The arrow while the pointer moves over the window's own
    // background, not over any control on it.
    void arrowOnBackground(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void track(QWidget& widget, Pointer shape);

    WindowPointer& m_pointer;
    QHash<const QObject*, Pointer> m_values;
};
