#include "mainwindow/list_view.h"

#include "core/catalogue/movie_column.h"
#include "core/report/failure.h"
#include "mainwindow/list_row_delegate.h"
#include "platform/twips.h"

#include <QApplication>
#include <QHeaderView>

ListView::ListView(QWidget* parent) : QTreeView(parent), m_model(this) {
    setObjectName(QStringLiteral("ListView1"));
    setModel(&m_model);
    setItemDelegate(new ListRowDelegate(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setMouseTracking(true);

    QHeaderView* head = header();
    head->setStretchLastSection(false);
    head->setSectionsClickable(true);
    head->setSectionsMovable(false);
    head->setMinimumSectionSize(0);
    head->setSortIndicatorShown(false);
    connect(head, &QHeaderView::sectionClicked, this,
            [this](int logical) { Q_EMIT ColumnClick(logical + 1); });
    connect(head, &QHeaderView::sectionResized, this, [this] { updateCheckColumn(); });
}

int ListView::addColumnHeader(const QString& text) {
    const int column = m_model.addColumn(text);
    // A new header gets the control's default width until the program sets one.
    setColumnHeaderWidth(column, 1440.0f);
    return column;
}

float ListView::columnHeaderWidth(int column) const {
    if (column < 0 || column >= columnHeaderCount()) {
        throw Failure(QStringLiteral("Column %1 does not exist.").arg(column + 1));
    }
    const int pixels = header()->sectionSize(column);
    const float remembered = m_widthTwips[std::size_t(column)];
    return Twips::toPixels(remembered) == pixels ? remembered : Twips::fromPixels(pixels);
}

void ListView::setColumnHeaderWidth(int column, float twips) {
    if (column < 0 || column >= columnHeaderCount()) {
        throw Failure(QStringLiteral("Column %1 does not exist.").arg(column + 1));
    }
    if (!(twips >= 0.0f) || twips > 1.0e6f) {
        throw Failure(QStringLiteral("Invalid column width: %1").arg(double(twips)));
    }
    m_widthTwips[std::size_t(column)] = twips;
    header()->resizeSection(column, Twips::toPixels(twips));
    updateCheckColumn();
}

void ListView::showExtraColumn(int extra, bool shown, float twips) {
    m_model.showExtraColumn(extra, shown);
    if (shown) {
        header()->resizeSection(m_model.columnOfExtra(extra), Twips::toPixels(twips));
    }
    updateSortIndicator();
}

float ListView::extraColumnWidth(int extra) const {
    const int column = m_model.columnOfExtra(extra);
    if (column < 0) {
        throw Failure(QStringLiteral("Extra column %1 is not shown.").arg(extra + 1));
    }
    return Twips::fromPixels(header()->sectionSize(column));
}

int ListView::selectedRow() const {
    // Only a highlighted row counts. The view's current row without a
    // highlight (the faint frame the list puts on its first row when it takes
    // the focus) was never chosen by the user.
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListView::selectRow(int row) {
    const QModelIndex index = m_model.index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
}

void ListView::setSorted(bool on) {
    m_model.setSorted(on);
    updateSortIndicator();
}

void ListView::setSortKey(int column) {
    m_model.setSortKey(column);
    updateSortIndicator();
}

void ListView::setSortOrder(Qt::SortOrder order) {
    m_model.setSortOrder(order);
    updateSortIndicator();
}

void ListView::updateSortIndicator() {
    header()->setSortIndicatorShown(m_model.sorted());
    header()->setSortIndicator(m_model.sortKey(), m_model.sortOrder());
}

void ListView::updateCheckColumn() {
    for (int column = 0; column < columnHeaderCount(); ++column) {
        if (!header()->isSectionHidden(column) && header()->sectionSize(column) > 0) {
            m_model.setCheckColumn(column);
            return;
        }
    }
}

void ListView::keyboardSearch(const QString& search) {
    // Typing finds a title: keys typed in quick succession extend the text
    // searched for; a new search starts after the current row and wraps.
    if (search.isEmpty() || m_model.itemCount() == 0 ||
        columnHeaderCount() <= columnIndex(MovieColumn::Title)) {
        return;
    }
    const bool extends =
        m_searchClock.isValid() && m_searchClock.elapsed() < QApplication::keyboardInputInterval();
    m_searchClock.start();
    m_searchText = extends ? m_searchText + search : search;
    const int count = m_model.itemCount();
    // Only a row the user selected counts as the place to go on from: the
    // view's current row without a selection (as focus leaves it) does not,
    // or the first title would be skipped.
    const int current = selectedRow();
    const int start = current < 0 ? 0 : (extends ? current : current + 1);
    for (int offset = 0; offset < count; ++offset) {
        const int row = (start + offset) % count;
        if (m_model.cell(row, columnIndex(MovieColumn::Title))
                .startsWith(m_searchText, Qt::CaseInsensitive)) {
            selectRow(row);
            scrollTo(m_model.index(row, columnIndex(MovieColumn::Title)));
            return;
        }
    }
}
