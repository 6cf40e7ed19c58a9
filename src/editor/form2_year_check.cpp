// The year box must hold a number when the focus leaves it.
#include "editor/form2.h"

#include "core/report/message_boxes.h"
#include "editor/numeric_text.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <utility>

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
            m_yearCheckPending = true;
            QMetaObject::invokeMethod(this, &Form2::runPendingYearCheck, Qt::QueuedConnection);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form2::runPendingYearCheck() {
    if (std::exchange(m_yearCheckPending, false)) {
        Text2_LostFocus();
    }
}

void Form2::Text2_LostFocus() {
    // Leaving the year for "Cancel" needs no number: nothing will be written.
    if (focusWidget() == m_buttons[1]) {
        return;
    }
    checkYear();
}

bool Form2::checkYear() {
    if (!m_loaded || m_unloading) {
        return true;
    }
    QLineEdit& year = *m_boxes[1];
    if (year.text().isEmpty() || isNumber(year.text())) {
        return true;
    }
    m_services.boxes.tell(kNotNumeric);
    // Back to the year box, with the editor active again after the message.
    activateWindow();
    year.setFocus(Qt::OtherFocusReason);
    return false;
}
