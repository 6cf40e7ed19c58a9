#include "mainwindow/covers/cover_view_switch.h"

#include "core/catalogue/catalogue.h"
#include "core/covers/cover_store.h"
#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "core/settings/config.h"
#include "editor/form2.h"
#include "mainwindow/covers/cover_thumbnails.h"
#include "mainwindow/covers/cover_view.h"
#include "mainwindow/list_view.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>

namespace {

const QString kShowCoversEntry = QStringLiteral("Show c&overs");
const QString kShowListEntry = QStringLiteral("Show &list");
const QString kViewCovers = QStringLiteral("covers");
const QString kViewList = QStringLiteral("list");

} // namespace

CoverViewSwitch::CoverViewSwitch(WindowContext& context, CoverView& view,
                                 CoverThumbnails& thumbnails)
    : WindowFeature(context, QStringLiteral("CoverViewSwitch")), m_view(view),
      m_thumbnails(thumbnails) {
    connect(&m_view, &CoverView::openRequested, this, [this](int row) {
        this->context().list().selectRow(row);
        this->context().editHighlighted();
    });
    context.list().installEventFilter(this);
    m_listEntry = addEntry(
        kShowListEntry, Qt::CTRL | Qt::Key_1, [this] { switchToList(); }, BarMenu::View);
    m_coversEntry = addEntry(
        kShowCoversEntry, Qt::CTRL | Qt::Key_2, [this] { switchToCovers(); }, BarMenu::View);
    updateViewEntries();
}

bool CoverViewSwitch::coversShown() const {
    return !m_view.isHidden();
}

void CoverViewSwitch::start() {
    restoreView();
    // Queued: what a save stores besides the movie (a poster found by a
    // lookup) is in the catalogue only once every slot of it has run.
    connect(&context().editor(), &Form2::saved, this, &CoverViewSwitch::followSavedCover,
            Qt::QueuedConnection);
}

void CoverViewSwitch::followSavedCover(qint64 id) {
    try {
        const bool has = CoverStore(context().services().catalogue).has(id);
        if (has != m_thumbnails.hasCover(id)) {
            m_thumbnails.coverChanged(id, has);
            m_view.viewport()->update();
        }
    } catch (const Failure&) {
        // Covers that cannot be read are reported when the view is shown.
    }
}

void CoverViewSwitch::restoreView() {
    try {
        if (Config(context().services().settings).get(Setting::MovieView) == kViewCovers) {
            showCovers();
        }
    } catch (const Failure&) {
        // An unreadable setting leaves the list, as on a first start.
    }
}

void CoverViewSwitch::showCovers() {
    ListView& list = context().list();
    // The covers are looked at only now, never at start-up, and again at
    // every showing so that covers stored from the command line appear too.
    Catalogue& catalogue = context().services().catalogue;
    if (m_thumbnails.catalogueFile() != catalogue.fileName()) {
        m_thumbnails.setCatalogueFile(catalogue.fileName());
    }
    try {
        m_thumbnails.setCoveredIds(CoverStore(catalogue).ids());
    } catch (const Failure& failure) {
        if (!m_idsFailureReported) {
            m_idsFailureReported = true;
            context().services().boxes.warn(
                QStringLiteral("The covers could not be read: %1").arg(failure.description()));
        }
    }
    const bool listHadFocus = list.hasFocus();
    m_view.followCheckColumn();
    m_view.setGeometry(list.rect());
    m_view.show();
    m_view.raise();
    list.setFocusProxy(&m_view);
    if (listHadFocus) {
        m_view.setFocus();
    }
    const int row = list.selectedRow();
    if (row >= 0) {
        m_view.scrollTo(list.model()->index(row, m_view.modelColumn()));
    }
    updateViewEntries();
}

void CoverViewSwitch::showList() {
    ListView& list = context().list();
    const bool viewHadFocus = m_view.hasFocus();
    list.setFocusProxy(nullptr);
    m_view.hide();
    if (viewHadFocus) {
        list.setFocus();
    }
    updateViewEntries();
}

void CoverViewSwitch::updateViewEntries() {
    // The view shown cannot be switched to.
    m_listEntry->setEnabled(coversShown());
    m_coversEntry->setEnabled(!coversShown());
}

void CoverViewSwitch::switchToCovers() {
    showCovers();
    rememberView(true);
}

void CoverViewSwitch::switchToList() {
    showList();
    rememberView(false);
}

void CoverViewSwitch::rememberView(bool covers) {
    try {
        Config(context().services().settings)
            .set(Setting::MovieView, covers ? kViewCovers : kViewList);
    } catch (const Failure&) {
        // The view works without being remembered.
    }
}

bool CoverViewSwitch::eventFilter(QObject* watched, QEvent* event) {
    // The view keeps to the list's rectangle.
    ListView& list = context().list();
    if (watched == &list && event->type() == QEvent::Resize) {
        m_view.setGeometry(list.rect());
    }
    return QObject::eventFilter(watched, event);
}
