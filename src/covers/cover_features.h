#pragma once

#include "core/covers/cover_store.h"

#include <QObject>
#include <QPointer>

class CoverThumbnails;
class CoverView;
class Form1;
class ListView;
class QAction;
class QMimeData;

// Covers on the main window, without changing it while they are not used:
// "Set cover…" and "Remove cover" for the list's context menu, an image
// file dropped onto a row, an image pasted (Ctrl+V) onto the selected row,
// the cover in the tooltip of a row, and the cover view (Ctrl+2, "Show
// covers") laid over the list's own rectangle until Ctrl+1 ("Show list")
// brings the list back. Failures are reported once, through the window's
// message boxes; the list keeps working.
class CoverFeatures : public QObject {
    Q_OBJECT
public:
    explicit CoverFeatures(Form1& form);
    ~CoverFeatures() override;

    // Shows the view the settings remember (the list on a first start).
    void restoreView();
    bool coversShown() const;
    void showCovers();
    void showList();

    // The context-menu entries for a row (-1: no row under the pointer).
    QList<QAction*> menuActions(int row);
    // Asks for an image file and stores it as the cover of that row's movie.
    void chooseCover(int row);
    // Stores an image file, encoded bytes or a decoded image as the row's cover.
    bool setCoverFromFile(int row, const QString& path);
    bool setCoverFromImage(int row, const QImage& image);
    bool removeCover(int row);

    CoverView& view() { return *m_view; }
    CoverThumbnails& thumbnails() { return *m_thumbnails; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isRow(int row) const;
    // The text of a row's cell as the list shows it.
    QString cell(int row, int column) const;
    qint64 idOfRow(int row) const;
    bool store(int row, const std::function<Cover()>& make);
    bool showTooltip(QObject* viewport, QEvent* event);
    bool handleDrop(QObject* viewport, QEvent* event);
    bool pasteImage();
    int rowAt(QObject* viewport, QPoint position) const;
    void rememberView(bool covers);
    void warn(const QString& text);

    Form1& m_form;
    // The window's list, held apart so that events during the window's own
    // teardown never reach into it.
    QPointer<ListView> m_list;
    CoverThumbnails* m_thumbnails;
    CoverView* m_view;
    QAction* m_setCover;
    QAction* m_removeCover;
    QAction* m_showCovers;
    QAction* m_showList;
    int m_menuRow = -1;
    // A cover table that cannot be read is reported once, not at every showing.
    bool m_idsFailureReported = false;
};
