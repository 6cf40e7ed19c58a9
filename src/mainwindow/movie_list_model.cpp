#include "mainwindow/movie_list_model.h"

#include "core/report/failure.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <limits>
#include <numeric>

MovieListModel::MovieListModel(QObject* parent) : QAbstractTableModel(parent) {}

int MovieListModel::addColumn(const QString& text) {
    if (m_headers.size() >= kMaxColumns) {
        throw Failure(
            QStringLiteral("The list cannot hold more than %1 columns.").arg(kMaxColumns));
    }
    const int column = int(m_headers.size());
    beginInsertColumns({}, column, column);
    m_headers << text;
    endInsertColumns();
    return column;
}

QString MovieListModel::columnText(int column) const {
    if (column < 0 || column >= m_headers.size()) {
        throw Failure(QStringLiteral("Column %1 does not exist.").arg(column + 1));
    }
    return m_headers.at(column);
}

void MovieListModel::clear() {
    if (!m_filling) {
        beginResetModel();
    }
    m_rows.clear();
    rowsMoved();
    m_shown.clear();
    m_folded.clear();
    forgetFinds();
    m_wholePassDue = false;
    loadExtras(true); // no rows: nothing kept
    if (!m_filling) {
        endResetModel();
    }
}

void MovieListModel::beginFill() {
    if (!m_filling) {
        beginResetModel();
        m_filling = true;
    }
}

void MovieListModel::endFill() {
    if (!m_filling) {
        return;
    }
    loadExtras(true); // the new rows' texts, before a sort or find by them
    if (m_sorted) {
        applySort(); // still filling: the reset below tells the view
    }
    m_folded.clear();
    forgetFinds();
    if (m_filtered) {
        refilter(m_query, false); // the find text applies to the new rows
    }
    m_filling = false;
    endResetModel();
}

void MovieListModel::Row::assign(const std::array<QStringView, kMaxColumns>& cells) {
    qsizetype length = 0;
    for (QStringView cell : cells) {
        length += cell.size();
    }
    if (length > std::numeric_limits<quint32>::max()) {
        throw Failure(QStringLiteral("The row is too long for the list."));
    }
    QString joined(length, Qt::Uninitialized);
    QChar* out = joined.data();
    for (std::size_t c = 0; c < cells.size(); ++c) {
        offsets[c] = quint32(out - joined.constData());
        out = std::copy(cells[c].begin(), cells[c].end(), out);
    }
    offsets[cells.size()] = quint32(length);
    text = std::move(joined);
}

int MovieListModel::appendRow(Row&& row) {
    forgetFinds();
    if (m_filtered && !m_filling) {
        return appendFilteredRow(std::move(row));
    }
    const int index = int(m_rows.size());
    if (!m_filling) {
        beginInsertRows({}, index, index);
    }
    m_rows.push_back(std::move(row));
    if (m_folded.isBuilt()) { // folded over every row so far: keep it so
        m_folded.append(findText(m_rows.back()));
    }
    if (!m_filling) {
        endInsertRows();
    }
    return index;
}

int MovieListModel::addItem(const QString& text) {
    std::array<QStringView, kMaxColumns> cells{};
    cells[0] = text;
    return addRow(cells);
}

int MovieListModel::addRow(const std::array<QStringView, kMaxColumns>& cells) {
    Row row;
    row.assign(cells);
    return appendRow(std::move(row));
}

void MovieListModel::checkRow(int row) const {
    if (row < 0 || row >= itemCount()) {
        throw Failure(QStringLiteral("Row %1 does not exist in the list.").arg(row + 1));
    }
}

void MovieListModel::checkColumn(int column) const {
    if (column < 0 || column >= kMaxColumns) {
        throw Failure(QStringLiteral("Column %1 does not exist.").arg(column + 1));
    }
}

void MovieListModel::setCell(int row, int column, QStringView text) {
    checkRow(row);
    checkColumn(column);
    Row& target = m_rows[stored(row)];
    const QString copy = text.toString(); // text may point into the row itself
    std::array<QStringView, kMaxColumns> cells{};
    for (int c = 0; c < kMaxColumns; ++c) {
        cells[std::size_t(c)] = c == column ? QStringView(copy) : target.cell(c);
    }
    Row updated;
    updated.assign(cells);
    updated.ticked = target.ticked;
    target = std::move(updated);
    if (column == 0) {
        rowsMoved(); // another movie's texts now
    }
    if (int(stored(row)) < m_folded.rowCount()) { // folded already, perhaps ahead
        m_folded.update(int(stored(row)), findText(target));
    }
    forgetFinds();
    if (m_filtered && !m_filling) {
        // The row stays shown or hidden until the find text changes.
        m_wholePassDue = true;
    }
    if (!m_filling) {
        const QModelIndex changed = index(row, column);
        Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

QStringView MovieListModel::cellView(int row, int column) const {
    checkRow(row);
    checkColumn(column);
    return m_rows[stored(row)].cell(column);
}

bool MovieListModel::isTicked(int row) const {
    checkRow(row);
    return m_rows[stored(row)].ticked;
}

void MovieListModel::setTicked(int row, bool ticked) {
    checkRow(row);
    m_rows[stored(row)].ticked = ticked;
    const QModelIndex changed = index(row, m_checkColumn);
    Q_EMIT dataChanged(changed, changed, {Qt::CheckStateRole});
}

QSet<QString> MovieListModel::tickedIds() const {
    QSet<QString> ids;
    for (const Row& row : m_rows) {
        if (row.ticked) {
            ids.insert(row.cell(0).toString());
        }
    }
    return ids;
}

void MovieListModel::tickIds(const QSet<QString>& ids) {
    if (ids.isEmpty()) {
        return;
    }
    for (Row& row : m_rows) {
        if (ids.contains(row.cell(0).toString())) {
            row.ticked = true;
        }
    }
    if (itemCount() > 0 && !m_filling) {
        Q_EMIT dataChanged(index(0, m_checkColumn), index(itemCount() - 1, m_checkColumn),
                           {Qt::CheckStateRole});
    }
}

void MovieListModel::setCheckColumn(int column) {
    if (column == m_checkColumn || column < 0 || column >= kMaxColumns) {
        return;
    }
    const int previous = m_checkColumn;
    m_checkColumn = column;
    if (itemCount() > 0) {
        const int last = itemCount() - 1;
        Q_EMIT dataChanged(index(0, previous), index(last, previous), {Qt::CheckStateRole});
        Q_EMIT dataChanged(index(0, column), index(last, column), {Qt::CheckStateRole});
    }
}

void MovieListModel::setSorted(bool on) {
    m_sorted = on;
    if (on && !m_filling) {
        applySort();
    }
}

void MovieListModel::setSortKey(int column) {
    m_sortKey = column;
    if (m_sorted && !m_filling) {
        applySort();
    }
}

void MovieListModel::setSortOrder(Qt::SortOrder order) {
    m_sortOrder = order;
    if (m_sorted && !m_filling) {
        applySort();
    }
}

void MovieListModel::applySort() {
    const bool extraKey = extraOfColumn(m_sortKey) >= 0;
    if (m_sortKey < 0 || (m_sortKey >= kMaxColumns && !extraKey) || m_rows.size() < 2) {
        return;
    }
    // Texts compare as the person's language orders words ("Ödipussi" with
    // the O's), case ignored, digits as text ("10" before "9"). One sort key
    // per row, then the positions sorted by the keys.
    // The C locale has no order of words, only of code points: English's
    // stands in for it.
    const QLocale locale;
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English) : locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_rows.size());
    for (const Row& row : m_rows) {
        keys.push_back(collator.sortKey(sortText(row, m_sortKey)));
    }
    std::vector<int> order(m_rows.size()); // order[newRow] = oldRow
    std::iota(order.begin(), order.end(), 0);
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return descending ? keys[std::size_t(b)].compare(keys[std::size_t(a)]) < 0
                          : keys[std::size_t(a)].compare(keys[std::size_t(b)]) < 0;
    });

    if (!m_filling) {
        Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    }
    const QModelIndexList before = m_filling ? QModelIndexList() : persistentIndexList();
    std::vector<std::size_t> storedBefore;
    storedBefore.reserve(std::size_t(before.size()));
    for (const QModelIndex& idx : before) {
        storedBefore.push_back(stored(idx.row()));
    }

    std::vector<Row> reordered;
    reordered.reserve(m_rows.size());
    for (int oldRow : order) {
        reordered.push_back(std::move(m_rows[std::size_t(oldRow)]));
    }
    m_rows = std::move(reordered);
    rowsMoved();
    forgetFinds();
    if (m_folded.isBuilt()) {
        m_folded.reorder(order);
    } else {
        m_folded.clear(); // folded only in part: ahead again from the start
    }
    if (m_filtered) {
        // The shown rows keep being shown, in the new order.
        std::vector<char> wasShown(order.size(), 0);
        for (int oldRow : m_shown) {
            wasShown[std::size_t(oldRow)] = 1;
        }
        std::vector<int> shown;
        shown.reserve(m_shown.size());
        for (std::size_t newRow = 0; newRow < order.size(); ++newRow) {
            if (wasShown[std::size_t(order[newRow])]) {
                shown.push_back(int(newRow));
            }
        }
        m_shown = std::move(shown);
    }

    if (!m_filling) {
        std::vector<int> newRowOf(order.size());
        for (std::size_t newRow = 0; newRow < order.size(); ++newRow) {
            newRowOf[std::size_t(order[newRow])] = int(newRow);
        }
        QModelIndexList after;
        after.reserve(before.size());
        for (std::size_t i = 0; i < storedBefore.size(); ++i) {
            after << index(shownRowOf(newRowOf[storedBefore[i]]), before[qsizetype(i)].column());
        }
        changePersistentIndexList(before, after);
        Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
}

int MovieListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : itemCount();
}

int MovieListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_headers.size() + qsizetype(m_extraShown.size()));
}

QVariant MovieListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= itemCount()) {
        return {};
    }
    const Row& row = m_rows[stored(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return sortText(row, index.column());
    case Qt::CheckStateRole:
        if (index.column() == m_checkColumn) {
            return row.ticked ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    case Qt::ForegroundRole:
        if (!m_muted.isEmpty() && m_muted.contains(idOf(row))) {
            return m_mutedColour;
        }
        return {};
    default:
        return {};
    }
}

bool MovieListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != m_checkColumn) {
        return false;
    }
    setTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags MovieListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == m_checkColumn) {
        flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

QVariant MovieListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_headers.size()) {
        return m_headers.at(section);
    }
    const int extra = orientation == Qt::Horizontal ? extraOfColumn(section) : -1;
    if (extra >= 0 && role == Qt::DisplayRole) {
        return m_extras[std::size_t(extra)].field.caption;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
