#include "mainwindow/covers/cover_commands.h"

#include "core/catalogue/movie_column.h"
#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "coverimage/cover_image.h"
#include "mainwindow/covers/cover_thumbnails.h"
#include "mainwindow/covers/cover_view.h"
#include "mainwindow/covers/row_under.h"
#include "mainwindow/list_view.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMimeData>

namespace {

const QString kSetCoverEntry = QStringLiteral("&Set cover\u2026");
const QString kRemoveCoverEntry = QStringLiteral("Remove co&ver");
const QString kChooseTitle = QStringLiteral("Choose a cover");

// How a message names an image pasted from the clipboard.
const QString kPastedImage = QStringLiteral("The pasted image");
const QString kDropOntoARow = QStringLiteral("Drop the image onto a movie's row.");
const QString kReplaceCover = QStringLiteral("\"%1\" already has a cover. Replace it with %2?");

// The encoded image the clipboard offers (PNG, JPEG, ...), or none. Read
// as it is, so that an image too large to decode is refused saying so.
QByteArray encodedClipboardImage(const QMimeData& mime) {
    for (const QString& format : mime.formats()) {
        if (format.startsWith(QStringLiteral("image/"))) {
            QByteArray bytes = mime.data(format);
            QBuffer buffer;
            buffer.setData(bytes);
            if (!bytes.isEmpty() && buffer.open(QIODevice::ReadOnly) &&
                QImageReader(&buffer).canRead()) {
                return bytes;
            }
        }
    }
    return {};
}

// The names a cover file is known by.
const QStringList kImageSuffixes = {QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                    QStringLiteral("png"), QStringLiteral("gif"),
                                    QStringLiteral("bmp"), QStringLiteral("webp")};

// The one local file named like an image a drag carries, or "" when it
// carries anything else. Whether it really is one is told when it is stored.
QString droppedImageFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 ||
        !mime->urls().first().isLocalFile()) {
        return {};
    }
    const QString path = mime->urls().first().toLocalFile();
    return CoverCommands::isImageFileName(path) ? path : QString();
}

} // namespace

bool CoverCommands::isImageFileName(const QString& path) {
    return kImageSuffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

bool CoverCommands::holdsImage(const QMimeData& mime) {
    return !droppedImageFile(&mime).isEmpty() || !encodedClipboardImage(mime).isEmpty() ||
           mime.hasImage();
}

CoverCommands::CoverCommands(WindowContext& context, CoverView& view, CoverThumbnails& thumbnails)
    : WindowFeature(context, QStringLiteral("CoverCommands")), m_view(view),
      m_thumbnails(thumbnails) {
    ListView& list = context.list();
    list.installEventFilter(this);
    m_view.installEventFilter(this);
    for (QWidget* viewport : {list.viewport(), m_view.viewport()}) {
        viewport->setAcceptDrops(true);
        viewport->installEventFilter(this);
    }
    m_setEntry = addEntry(
        kSetCoverEntry, {}, [this] { chooseCover(this->context().list().selectedRow()); },
        BarMenu::Edit);
    m_removeEntry = addEntry(
        kRemoveCoverEntry, {}, [this] { removeCover(this->context().list().selectedRow()); },
        BarMenu::Edit);
    CoverCommands::updateEntries();
}

void CoverCommands::updateEntries() {
    // Whether the movie has a cover is looked up only when the menu opens:
    // moving through the list or filling it reads nothing more.
    const bool highlighted = context().highlightedRow().has_value();
    m_setEntry->setEnabled(highlighted);
    m_removeEntry->setEnabled(highlighted);
}

void CoverCommands::updateRemoveEntry() {
    const std::optional<qint64> movie = context().highlightedMovie();
    bool hasCover = false;
    if (movie) {
        try {
            hasCover = CoverStore(context().services().catalogue).has(*movie);
        } catch (const Failure&) {
            // A cover table that cannot be read has nothing to remove.
        }
    }
    m_removeEntry->setEnabled(hasCover);
}

bool CoverCommands::isRow(int row) const {
    return row >= 0 && row < context().list().model()->rowCount();
}

qint64 CoverCommands::idOfRow(int row) const {
    return coverId(context().list().items().cell(row, columnIndex(MovieColumn::Id)));
}

void CoverCommands::warn(const QString& text) {
    context().services().boxes.warn(text);
}

bool CoverCommands::store(int row, const std::function<Cover()>& make) {
    if (!isRow(row)) {
        return false;
    }
    try {
        const qint64 id = idOfRow(row);
        const Cover cover = make();
        CoverStore(context().services().catalogue).set(id, cover);
        m_thumbnails.coverChanged(id, true);
        context().columnsChanged();
        updateRemoveEntry();
        return true;
    } catch (const Failure& failure) {
        warn(QStringLiteral("The cover was not stored. %1").arg(failure.description()));
        return false;
    }
}

void CoverCommands::chooseCover(int row) {
    if (!isRow(row)) {
        return; // no movie to give a cover
    }
    const QString path = QFileDialog::getOpenFileName(&context().window(), kChooseTitle, QString(),
                                                      CoverImage::fileDialogFilter());
    if (!path.isEmpty()) {
        setCoverFromFile(row, path);
    }
}

bool CoverCommands::setCoverFromFile(int row, const QString& path) {
    return store(row, [&] { return CoverImage::fromFile(path); });
}

bool CoverCommands::setCoverFromImage(int row, const QImage& image) {
    return store(row, [&] { return CoverImage::fromImage(image); });
}

bool CoverCommands::removeCover(int row) {
    if (!isRow(row)) {
        return false;
    }
    try {
        const qint64 id = idOfRow(row);
        const bool removed = CoverStore(context().services().catalogue).remove(id);
        m_thumbnails.coverChanged(id, false);
        context().columnsChanged();
        updateRemoveEntry();
        return removed;
    } catch (const Failure& failure) {
        warn(QStringLiteral("The cover was not removed. %1").arg(failure.description()));
        return false;
    }
}

bool CoverCommands::eventFilter(QObject* watched, QEvent* event) {
    // Only these events concern covers; anything else passes untouched.
    ListView& list = context().list();
    switch (event->type()) {
    case QEvent::ContextMenu:
        // The list's menu is about to open (the mouse on its rows, the menu
        // key on the list, or a right-click the cover view passed on).
        if (watched == &list || watched == list.viewport()) {
            updateRemoveEntry();
        }
        return false;
    case QEvent::KeyPress:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        break;
    default:
        return false;
    }
    if ((watched == &list || watched == &m_view) && event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
            return pasteImage();
        }
    }
    if ((watched == list.viewport() || watched == m_view.viewport()) &&
        event->type() != QEvent::KeyPress) {
        return handleDrop(watched, event);
    }
    return QObject::eventFilter(watched, event);
}

bool CoverCommands::pasteImage() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    const int row = context().list().selectedRow();
    if (!mime || row < 0) {
        return false;
    }
    if (const QString file = droppedImageFile(mime); !file.isEmpty()) {
        setCoverFromFile(row, file);
        return true;
    }
    if (const QByteArray bytes = encodedClipboardImage(*mime); !bytes.isEmpty()) {
        store(row, [&] { return CoverImage::fromBytes(bytes, kPastedImage); });
        return true;
    }
    if (!mime->hasImage()) {
        return false; // not an image: the key does what it did before
    }
    setCoverFromImage(row, qvariant_cast<QImage>(mime->imageData()));
    return true;
}

bool CoverCommands::handleDrop(QObject* viewport, QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QString file = droppedImageFile(drop->mimeData());
    if (file.isEmpty()) {
        return false; // not an image file: left to the view
    }
    // Taken everywhere on the view, so that a drop beside the rows can say
    // where the image goes.
    drop->acceptProposedAction();
    if (event->type() != QEvent::Drop) {
        return true;
    }
    const int row = rowUnder(viewport, drop->position().toPoint());
    if (row < 0) {
        context().services().boxes.tell(kDropOntoARow);
        return true;
    }
    context().list().selectRow(row);
    if (mayReplaceCover(row, file)) {
        setCoverFromFile(row, file);
    }
    return true;
}

bool CoverCommands::mayReplaceCover(int row, const QString& file) {
    try {
        if (!CoverStore(context().services().catalogue).has(idOfRow(row))) {
            return true;
        }
    } catch (const Failure&) {
        return true; // storing the cover says what is wrong
    }
    const QString title = context().list().items().cell(row, columnIndex(MovieColumn::Title));
    return context().services().boxes.askDefaultNo(
               kReplaceCover.arg(title, QFileInfo(file).fileName())) == Answer::Yes;
}
