#pragma once

#include "mainwindow/window_feature.h"

class CoverThumbnails;
class QAction;
class CoverView;

// The cover view laid over the list's own rectangle, and the list again:
// "Show list" (Ctrl+1) and "Show covers" (Ctrl+2) in the list's context
// menu and the View menu, the one shown greyed, remembered for the next start. Double-click or
// Enter on a cover opens that movie in the editor.
class CoverViewSwitch : public WindowFeature {
    Q_OBJECT
public:
    CoverViewSwitch(WindowContext& context, CoverView& view, CoverThumbnails& thumbnails);

    // Shows the view the settings remember (the list on a first start).
    void start() override;
    void restoreView();
    bool coversShown() const;
    void showCovers();
    void showList();
    // The same, remembered in the settings for the next start.
    void switchToCovers();
    void switchToList();

    CoverView& view() { return m_view; }
    CoverThumbnails& thumbnails() { return m_thumbnails; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rememberView(bool covers);
    // Shows at once a cover the movie was given while it was saved.
    void followSavedCover(qint64 id);
    void updateViewEntries();

    CoverView& m_view;
    CoverThumbnails& m_thumbnails;
    // A cover table that cannot be read is reported once, not at every showing.
    bool m_idsFailureReported = false;
    QAction* m_listEntry = nullptr;
    QAction* m_coversEntry = nullptr;
};
