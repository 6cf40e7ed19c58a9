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

Answer ScriptedMessageBoxes::show(const QString& text, BoxStyle style, const QString& title) {
    m_boxes.push_back({text, title, int(style)});
    if (!m_answers.empty()) {
        const Answer reply = m_answers.front();
        m_answers.pop_front();
        return reply;
    }
    return style == BoxStyle::YesNo || style == BoxStyle::YesNoDefaultNo ? Answer::No : Answer::Ok;
}
