// The year box must hold a number when the focus leaves it.
#include "editor/form2.h"

#include "core/report/message_boxes.h"
#include "editor/numeric_text.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>

namespace {
const QString kNotNumeric = QStringLiteral("Must be a numeric entry.");
} // namespace

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_boxes[1] && event->type() == QEvent::FocusOut) {
        // Only a move to another control of this window counts; the window
        // itself losing the focus (another window, a menu) does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            // Checked once the focus has settled, so that the message and the
            // focus returning to the year box do not fight the focus change.
            QMetaObject::invokeMethod(this, &Form2::Text2_LostFocus, Qt::QueuedConnection);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form2::Text2_LostFocus() {
    if (!m_loaded || m_unloading) {
        return;
    }
    // Leaving the year for "Cancel" needs no number: nothing will be written.
    if (focusWidget() == m_buttons[1]) {
        return;
    }
    QLineEdit& year = *m_boxes[1];
    if (year.text().isEmpty()) {
        return;
    }
    if (!isNumber(year.text())) {
        m_services.boxes.tell(kNotNumeric);
        // Back to the year box, with the editor active again after the message.
        activateWindow();
        year.setFocus(Qt::OtherFocusReason);
    }
}
