#pragma once

#include "core/covers/cover_store.h"

#include <QObject>
#include <QPointer>

class CoverThumbnails;
class CoverView;
class Form1;
class ListView;
class QMimeData;

// Covers on the main window, without changing it while they are not used:
// choosing and removing a row's cover (the list's context menu has the
// entries), an image file dropped onto a row, an image pasted (Ctrl+V) onto
// the selected row, the cover in the tooltip of a row, and the cover view
// laid over the list's own rectangle until the list is asked for again. Failures are reported once,
// through the window's message boxes; the list keeps working.
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
    // The same, remembered in the settings for the next start.
    void switchToCovers();
    void switchToList();

    // Asks for an image file and stores it as the cover of that row's movie.
    void chooseCover(int row);
    // The same for the selected movie, and removing its cover.
    void chooseCoverForSelected();
    bool removeSelectedCover();
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
    // The window's list, and whether it still exists.
    ListView* m_list;
    QPointer<QWidget> m_listAlive;
    CoverThumbnails* m_thumbnails;
    CoverView* m_view;
    // A cover table that cannot be read is reported once, not at every showing.
    bool m_idsFailureReported = false;
};
