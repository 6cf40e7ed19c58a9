// Finding in the movie list: which rows the list shows for a find text.
#include "mainwindow/movie_list_model.h"

#include "core/find/row_match.h"

#include <algorithm>

namespace {
// How many finds are remembered (at most 400 KB each for 100 000 movies).
constexpr std::size_t kRecentFinds = 8;
} // namespace

// The kept rows as the finder reads them, without a copy.
class MovieListModel::StoredRows : public Find::RowSource {
public:
    explicit StoredRows(const MovieListModel& model)
        : m_rows(model.m_rows), m_extras(model.m_extras), m_stamp(model.m_rowsStamp) {}
    int rowCount() const override { return int(m_rows.size()); }
    Find::RowText row(int position) const override {
        return findText(m_rows[std::size_t(position)]);
    }
    QStringView extraField(int position, int extra) const override {
        const Extra& field = m_extras[std::size_t(extra)];
        if (field.byRowStamp == m_stamp && std::size_t(position) < field.byRow.size()) {
            return field.byRow[std::size_t(position)];
        }
        const auto text = field.folded.constFind(idOf(m_rows[std::size_t(position)]));
        return text == field.folded.constEnd() ? QStringView(field.foldedEmpty)
                                               : QStringView(*text);
    }

private:
    const std::vector<Row>& m_rows;
    const std::vector<Extra>& m_extras;
    quint64 m_stamp;
};

Find::RowText MovieListModel::findText(const Row& row) {
    // Cells 1 to 8 (title to studio) lie one after the other; the id is not searched.
    return {QStringView(row.text).utf16(), row.offsets.data() + 1};
}

int MovieListModel::shownRowOf(int storedRow) const {
    if (!m_filtered) {
        return storedRow;
    }
    const auto at = std::lower_bound(m_shown.begin(), m_shown.end(), storedRow);
    return at != m_shown.end() && *at == storedRow ? int(at - m_shown.begin()) : -1;
}

void MovieListModel::setFilterText(const QString& text) {
    m_filterText = text;
    Find::Query query = Find::Query::parse(text, m_extraIds, m_extraNumeric, m_extraWords);
    m_filterError = query.error();
    if (!m_filterError.isEmpty()) {
        return; // the rows shown stay as they are until the text reads again
    }
    if (query == m_query && !m_wholePassDue) {
        return; // a blank typed, or the same words again
    }
    const bool narrowing = m_filtered && !m_wholePassDue && query.narrows(m_query);
    loadExtras(false, &query); // the extra fields the new text names are read now
    refilter(std::move(query), narrowing);
}

bool MovieListModel::foldAhead(int rows) {
    return m_folded.buildMore(StoredRows(*this), rows);
}

std::vector<int> MovieListModel::findRows(const Find::Query& query, bool narrowing) {
    // The rows this text found a moment ago, or else the fewest rows that a
    // text it narrows found, to look through instead of every row.
    const std::vector<int>* candidates = narrowing ? &m_shown : nullptr;
    for (auto found = m_recentFinds.begin(); found != m_recentFinds.end(); ++found) {
        if (found->query == query) {
            std::vector<int> rows = std::move(found->rows);
            m_recentFinds.erase(found);
            return rows;
        }
        if ((candidates == nullptr || found->rows.size() < candidates->size()) &&
            query.narrows(found->query)) {
            candidates = &found->rows;
        }
    }
    for (int e = 0; e < extraFieldCount(); ++e) {
        Extra& extra = m_extras[std::size_t(e)];
        if (extra.loaded && namesExtra(query, e)) {
            layOutExtra(extra);
        }
    }
    const StoredRows rows(*this);
    if (!m_folded.isBuilt()) {
        m_folded.buildMore(rows, rows.rowCount());
    }
    return Find::matchingRows(query, rows, m_folded, candidates);
}

void MovieListModel::refilter(Find::Query query, bool narrowing) {
    if (m_wholePassDue) {
        forgetFinds();
    }
    const bool filtered = !query.isEmpty();
    std::vector<int> shown;
    if (filtered) {
        shown = findRows(query, narrowing);
    }
    m_wholePassDue = false;
    if (m_filling) { // the fill's reset tells the view
        m_query = std::move(query);
        m_filtered = filtered;
        m_shown = std::move(shown);
        return;
    }
    if (!filtered && !m_filtered) {
        m_query = std::move(query);
        return;
    }
    // The shown rows are an ascending choice of the kept ones: as many as
    // are kept is every one of them.
    const bool everyBefore = !m_filtered || m_shown.size() == m_rows.size();
    const bool everyAfter = !filtered || shown.size() == m_rows.size();
    const bool sameRows =
        (everyBefore && everyAfter) || (m_filtered && filtered && shown == m_shown);
    const auto takeOver = [&] {
        if (m_filtered) {
            m_recentFinds.push_back({std::move(m_query), std::move(m_shown)});
            if (m_recentFinds.size() > kRecentFinds) {
                m_recentFinds.erase(m_recentFinds.begin());
            }
        }
        m_query = std::move(query);
        m_filtered = filtered;
        m_shown = std::move(shown);
    };
    if (sameRows) {
        takeOver(); // the view shows the same rows: nothing to lay out again
        return;
    }

    // A change of layout: the selected and current rows stay with their
    // movies while those are shown, and are dropped when they are hidden.
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    std::vector<int> storedBefore;
    storedBefore.reserve(std::size_t(before.size()));
    for (const QModelIndex& idx : before) {
        storedBefore.push_back(int(stored(idx.row())));
    }
    takeOver();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after << index(shownRowOf(storedBefore[std::size_t(i)]), before[i].column());
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged();
}

int MovieListModel::appendFilteredRow(Row&& row) {
    const int storedRow = int(m_rows.size());
    // The index is built over the rows kept so far, so the new row joins it
    // after them whichever way it was built.
    if (!m_folded.isBuilt()) {
        m_folded.buildMore(StoredRows(*this), int(m_rows.size()));
    }
    // Kept at once (the view counts the shown rows only), and shown if it matches.
    m_rows.push_back(std::move(row));
    const Find::RowText text = findText(m_rows.back());
    m_folded.append(text);
    if (!Find::rowMatches(m_query, StoredRows(*this), m_folded, storedRow)) {
        return -1; // kept, but hidden by the find text
    }
    const int shownRow = int(m_shown.size());
    beginInsertRows({}, shownRow, shownRow);
    m_shown.push_back(storedRow);
    endInsertRows();
    return shownRow;
}
