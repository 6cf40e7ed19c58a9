#pragma once

#include <QSet>
#include <QString>

class ListView;

// What the person sees of the movie list besides its rows: the ticks, the
// highlighted row, the current cell and how far it is scrolled. Rows are
// remembered by their id, so the view comes back after a refill that brought
// other rows, as far as its rows are still there. The sort and the find text
// belong to the list itself and stay through any refill.
class ListViewState {
public:
    explicit ListViewState(const ListView& list);

    // Puts the view back onto the list as refilled. False when a row was
    // highlighted and is no longer shown.
    bool restore(ListView& list) const;

private:
    QSet<QString> m_ticked;
    QString m_currentId;
    int m_currentColumn = 0;
    bool m_highlighted = false;
    QString m_topId;
    int m_verticalScroll = 0;
    int m_horizontalScroll = 0;
};
