// Keys of the movie list beyond the view's own.
#include "mainwindow/list_view.h"

#include <QApplication>
#include <QKeyEvent>

void ListView::keyPressEvent(QKeyEvent* event) {
    const bool plain = event->modifiers() == Qt::NoModifier;
    const bool space = event->key() == Qt::Key_Space;
    if (plain && (space || event->key() == Qt::Key_Select)) {
        // While a title is being typed, a blank belongs to it ("The Seven");
        // otherwise Space ticks or clears the current row, whichever column
        // holds the focus.
        const bool typingTitle = m_searchClock.isValid() &&
                                 m_searchClock.elapsed() < QApplication::keyboardInputInterval();
        if (space && typingTitle) {
            keyboardSearch(QStringLiteral(" "));
        } else if (const int row = currentIndex().row(); row >= 0 && row < m_model.itemCount()) {
            m_model.setTicked(row, !m_model.isTicked(row));
        }
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}
