#pragma once

#include <QHash>
#include <QObject>

class QWidget;
class WindowPointer;

// Pointer feedback for one window: moving the pointer over a registered
// control sets the window's pointer setting to that control's value (the
// hand over push buttons, the arrow elsewhere), except while the window
// shows the busy pointer. Controls that are not registered leave the
// setting as it is. One line a control:
//
//     feedback->hand(*saveButton);
//     feedback->arrow(*list);
//     feedback->arrowOnBackground(*window);
class PointerFeedback : public QObject {
    Q_OBJECT
public:
    // Lives as long as the window (its parent); the pointer must too.
    PointerFeedback(WindowPointer& pointer, QWidget& window);

    // The hand (99) while the pointer moves over the control.
    void hand(QWidget& control);
    // The arrow (0) while the pointer moves over the control and its parts
    // (a list's rows, header and scroll bars).
    void arrow(QWidget& control);
    // The arrow (0) while the pointer moves over the window's own
    // background, not over any control on it.
    void arrowOnBackground(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void track(QWidget& widget, int value);

    WindowPointer& m_pointer;
    QHash<const QObject*, int> m_values;
};
