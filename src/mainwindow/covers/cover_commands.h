#pragma once

#include "core/covers/cover_store.h"
#include "mainwindow/window_feature.h"

#include <functional>

class CoverThumbnails;
class CoverView;
class QImage;
class QAction;
class QMimeData;

// Giving a movie a cover and taking it away: "Set cover…" and "Remove cover"
// in the list's context menu (greyed while no movie is highlighted, and
// "Remove cover" while the highlighted movie has none), an image file
// dropped onto a row of the list or the cover view (asking first when the
// movie has a cover), an image pasted (Ctrl+V) onto the highlighted movie.
// Failures are reported once, through the window's message boxes; the list
// keeps working.
class CoverCommands : public WindowFeature {
    Q_OBJECT
public:
    CoverCommands(WindowContext& context, CoverView& view, CoverThumbnails& thumbnails);

    // Whether a file is named like an image (.jpg, .png, ...). Such a file
    // dropped on the window is meant as a cover, whatever it holds.
    static bool isImageFileName(const QString& path);
    // Whether Ctrl+V on the list would paste a cover: the clipboard holds an
    // image or a file named like one.
    static bool holdsImage(const QMimeData& mime);

    // Asks for an image file and stores it as the cover of that row's movie.
    void chooseCover(int row);
    // Stores an image file or a decoded image as the row's cover.
    bool setCoverFromFile(int row, const QString& path);
    bool setCoverFromImage(int row, const QImage& image);
    bool removeCover(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void updateEntries() override;

private:
    // "Remove cover" for the highlighted movie, from whether it has one.
    void updateRemoveEntry();
    bool isRow(int row) const;
    qint64 idOfRow(int row) const;
    bool store(int row, const std::function<Cover()>& make);
    bool handleDrop(QObject* viewport, QEvent* event);
    // Whether a dropped file may become the row's cover: yes when the movie
    // has none, otherwise as the person answers (No by default).
    bool mayReplaceCover(int row, const QString& file);
    bool pasteImage();
    void warn(const QString& text);

    CoverView& m_view;
    CoverThumbnails& m_thumbnails;
    QAction* m_setEntry = nullptr;
    QAction* m_removeEntry = nullptr;
};
