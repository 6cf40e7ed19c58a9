#pragma once

#include <QListView>

class CoverThumbnails;
class ListView;

// The movies as a wall of covers with their titles: a view in icon mode on
// the list's own model (whatever the list shows through) and selection, so it shows the same rows
// in the same order with the same ticks, and the selected movie is the same in both. A movie
// without a cover (or whose cover is still being read) shows a placeholder with its title and
// year; each tile is drawn by CoverTile.
class CoverView : public QListView {
    Q_OBJECT
public:
    // Laid over the list: a child of it.
    CoverView(ListView& list, CoverThumbnails& thumbnails);

    // The model column whose cells carry the titles and the ticks.
    void followCheckColumn();

Q_SIGNALS:
    // Double-click or Enter on a cover.
    void openRequested(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Cells as wide as the viewport's width shared out between the tiles
    // that fit in it.
    void spreadTiles();

    ListView& m_list;
};
