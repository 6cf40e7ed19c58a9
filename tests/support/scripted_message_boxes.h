#pragma once

#include "core/report/message_boxes.h"

#include <QList>
#include <QString>
#include <deque>

// Records every box (text, title, style) and answers from a queue: the
// queued answer when there is one, otherwise OK for an OK box and No for a
// Yes/No box (either default button). No test ever shows a real box.
class ScriptedMessageBoxes : public MessageBoxes {
public:
    struct Box {
        QString text;
        QString title;
        int style; // the style number
    };

    void answer(Answer reply) { m_answers.push_back(reply); }
    const QList<Box>& boxes() const { return m_boxes; }
    int count() const { return int(m_boxes.size()); }
    const Box& last() const { return m_boxes.back(); }
    const Box& at(int i) const { return m_boxes.at(i); }
    // The boxes titled "Application Error".
    QList<Box> errorReports() const;
    void clear() { m_boxes.clear(); }

protected:
    Answer show(const QString& text, BoxStyle style, const QString& title) override;

private:
    QList<Box> m_boxes;
    std::deque<Answer> m_answers;
};
