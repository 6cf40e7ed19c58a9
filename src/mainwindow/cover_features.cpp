#include "mainwindow/cover_features.h"

#include "core/catalogue/catalogue.h"
#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "core/settings/config.h"
#include "mainwindow/cover_image.h"
#include "mainwindow/cover_thumbnails.h"
#include "mainwindow/cover_view.h"
#include "mainwindow/form1.h"
#include "mainwindow/list_view.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDropEvent>
#include <QFileDialog>
#include <QHelpEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QMimeData>
#include <QToolTip>

namespace {

const QString kChooseTitle = QStringLiteral("Choose a cover");
const QString kViewCovers = QStringLiteral("covers");
const QString kViewList = QStringLiteral("list");

constexpr QSize kThumbnailSize(120, 180);
constexpr int kTooltipCover = 200;
constexpr int kTitleColumn = 1;
constexpr int kYearColumn = 2;

// How a message names an image pasted from the clipboard.
const QString kPastedImage = QStringLiteral("The pasted image");

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

// The one local image file a drag carries, or "" when it carries anything else.
QString droppedImageFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 ||
        !mime->urls().first().isLocalFile()) {
        return {};
    }
    const QString path = mime->urls().first().toLocalFile();
    return CoverImage::isReadableImageFile(path) ? path : QString();
}

} // namespace

CoverFeatures::CoverFeatures(Form1& form)
    : QObject(&form), m_form(form), m_list(&form.ListView1()), m_listAlive(m_list),
      m_thumbnails(new CoverThumbnails(kThumbnailSize, this)) {
    ListView& list = *m_list;
    m_view = new CoverView(list, *m_thumbnails);
    m_view->hide();
    connect(m_view, &CoverView::openRequested, &form, [this](int row) {
        m_form.ListView1().selectRow(row);
        m_form.PushButton5_Click();
    });

    list.installEventFilter(this);
    m_view->installEventFilter(this);
    for (QWidget* viewport : {list.viewport(), m_view->viewport()}) {
        viewport->setAcceptDrops(true);
        viewport->installEventFilter(this);
    }
}

CoverFeatures::~CoverFeatures() = default;

bool CoverFeatures::coversShown() const {
    return !m_view->isHidden();
}

void CoverFeatures::restoreView() {
    try {
        if (Config(m_form.services().settings).get(Setting::MovieView) == kViewCovers) {
            showCovers();
        }
    } catch (const Failure&) {
        // An unreadable setting leaves the list, as on a first start.
    }
}

void CoverFeatures::showCovers() {
    ListView& list = m_form.ListView1();
    // The covers are looked at only now, never at start-up, and again at
    // every showing so that covers stored from the command line appear too.
    Catalogue& catalogue = m_form.services().catalogue;
    if (m_thumbnails->catalogueFile() != catalogue.fileName()) {
        m_thumbnails->setCatalogueFile(catalogue.fileName());
    }
    try {
        m_thumbnails->setCoveredIds(CoverStore(catalogue).ids());
    } catch (const Failure& failure) {
        if (!m_idsFailureReported) {
            m_idsFailureReported = true;
            warn(QStringLiteral("The covers could not be read: %1").arg(failure.description()));
        }
    }
    const bool listHadFocus = list.hasFocus();
    m_view->followCheckColumn();
    m_view->setGeometry(list.rect());
    m_view->show();
    m_view->raise();
    list.setFocusProxy(m_view);
    if (listHadFocus) {
        m_view->setFocus();
    }
    const int row = list.selectedRow();
    if (row >= 0) {
        m_view->scrollTo(list.model()->index(row, m_view->modelColumn()));
    }
}

void CoverFeatures::showList() {
    ListView& list = m_form.ListView1();
    const bool viewHadFocus = m_view->hasFocus();
    list.setFocusProxy(nullptr);
    m_view->hide();
    if (viewHadFocus) {
        list.setFocus();
    }
}

void CoverFeatures::switchToCovers() {
    showCovers();
    rememberView(true);
}

void CoverFeatures::switchToList() {
    showList();
    rememberView(false);
}

void CoverFeatures::rememberView(bool covers) {
    try {
        Config(m_form.services().settings)
            .set(Setting::MovieView, covers ? kViewCovers : kViewList);
    } catch (const Failure&) {
        // The view works without being remembered.
    }
}

bool CoverFeatures::isRow(int row) const {
    return row >= 0 && row < m_form.ListView1().model()->rowCount();
}

QString CoverFeatures::cell(int row, int column) const {
    const QAbstractItemModel* model = m_form.ListView1().model();
    return model->index(row, column).data().toString();
}

qint64 CoverFeatures::idOfRow(int row) const {
    return coverId(cell(row, 0));
}

void CoverFeatures::warn(const QString& text) {
    m_form.services().boxes.warn(text);
}

bool CoverFeatures::store(int row, const std::function<Cover()>& make) {
    if (!isRow(row)) {
        return false;
    }
    try {
        const qint64 id = idOfRow(row);
        const Cover cover = make();
        CoverStore(m_form.services().catalogue).set(id, cover);
        m_thumbnails->coverChanged(id, true);
        return true;
    } catch (const Failure& failure) {
        warn(QStringLiteral("The cover was not stored. %1").arg(failure.description()));
        return false;
    }
}

void CoverFeatures::chooseCover(int row) {
    if (!isRow(row)) {
        return; // no movie to give a cover
    }
    const QString path = QFileDialog::getOpenFileName(&m_form, kChooseTitle, QString(),
                                                      CoverImage::fileDialogFilter());
    if (!path.isEmpty()) {
        setCoverFromFile(row, path);
    }
}

void CoverFeatures::chooseCoverForSelected() {
    chooseCover(m_list->selectedRow());
}

bool CoverFeatures::removeSelectedCover() {
    return removeCover(m_list->selectedRow());
}

bool CoverFeatures::setCoverFromFile(int row, const QString& path) {
    return store(row, [&] { return CoverImage::fromFile(path); });
}

bool CoverFeatures::setCoverFromImage(int row, const QImage& image) {
    return store(row, [&] { return CoverImage::fromImage(image); });
}

bool CoverFeatures::removeCover(int row) {
    if (!isRow(row)) {
        return false;
    }
    try {
        const qint64 id = idOfRow(row);
        const bool removed = CoverStore(m_form.services().catalogue).remove(id);
        m_thumbnails->coverChanged(id, false);
        return removed;
    } catch (const Failure& failure) {
        warn(QStringLiteral("The cover was not removed. %1").arg(failure.description()));
        return false;
    }
}

int CoverFeatures::rowAt(QObject* viewport, QPoint position) const {
    QAbstractItemView* view = viewport == m_view->viewport()
                                  ? static_cast<QAbstractItemView*>(m_view)
                                  : &m_form.ListView1();
    const QModelIndex index = view->indexAt(position);
    return index.isValid() ? index.row() : -1;
}

bool CoverFeatures::eventFilter(QObject* watched, QEvent* event) {
    // Only these events concern covers; anything else (the window's own
    // teardown among them) passes untouched.
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::KeyPress:
    case QEvent::ToolTip:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        break;
    default:
        return false;
    }
    if (!m_listAlive) {
        return false;
    }
    ListView& list = *m_list;
    if (watched == &list && event->type() == QEvent::Resize) {
        m_view->setGeometry(list.rect());
    }
    if ((watched == &list || watched == m_view) && event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
            return pasteImage();
        }
    }
    if (watched == list.viewport() || watched == m_view->viewport()) {
        switch (event->type()) {
        case QEvent::ToolTip:
            return showTooltip(watched, event);
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return handleDrop(watched, event);
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool CoverFeatures::pasteImage() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    const int row = m_form.ListView1().selectedRow();
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

bool CoverFeatures::handleDrop(QObject* viewport, QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QString file = droppedImageFile(drop->mimeData());
    if (file.isEmpty()) {
        return false; // not an image file: left to the view
    }
    const int row = rowAt(viewport, drop->position().toPoint());
    if (event->type() == QEvent::DragEnter) {
        drop->acceptProposedAction();
        return true;
    }
    if (row < 0) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        m_form.ListView1().selectRow(row);
        setCoverFromFile(row, file);
    }
    return true;
}

bool CoverFeatures::showTooltip(QObject* viewport, QEvent* event) {
    auto* help = static_cast<QHelpEvent*>(event);
    const int row = rowAt(viewport, help->pos());
    if (row < 0) {
        return false;
    }
    std::optional<Cover> cover;
    try {
        cover = CoverStore(m_form.services().catalogue).get(idOfRow(row));
    } catch (const Failure&) {
        return false; // the list's own tooltip, as without covers
    }
    if (!cover) {
        return false;
    }
    QBuffer buffer(&cover->bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setScaledSize(QSize(cover->width, cover->height)
                             .scaled(kTooltipCover, kTooltipCover, Qt::KeepAspectRatio));
    const QImage small = reader.read();
    if (small.isNull()) {
        return false;
    }
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    small.save(&out, "PNG");
    const QString title = cell(row, kTitleColumn).toHtmlEscaped();
    const QString year = cell(row, kYearColumn).toHtmlEscaped();
    const QString text = QStringLiteral("<img src=\"data:image/png;base64,%1\"><br><b>%2</b>%3")
                             .arg(QString::fromLatin1(png.toBase64()), title,
                                  year.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(year));
    QToolTip::showText(help->globalPos(), text, static_cast<QWidget*>(viewport));
    return true;
}
