#include "support/scripted_message_boxes.h"

QList<ScriptedMessageBoxes::Box> ScriptedMessageBoxes::errorReports() const {
    QList<Box> reports;
    for (const Box& box : m_boxes) {
        if (box.title == QStringLiteral("Application Error")) {
            reports << box;
        }
    }
    return reports;
}

int ScriptedMessageBoxes::show(const QString& text, int style, const QString& title) {
    m_boxes.push_back({text, title, style});
    if (!m_answers.empty()) {
        const int reply = m_answers.front();
        m_answers.pop_front();
        return reply;
    }
    return (style & 0x7) == vbYesNo ? vbNo : vbOK;
}
