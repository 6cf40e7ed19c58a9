// The movie list's extra fields: other features' texts per movie, shown as
// columns after the list's own and named in the find text. Their texts are
// kept by movie id, not in the rows, so a list that uses none pays nothing.
#include "mainwindow/movie_list_model.h"

#include "core/find/fold.h"
#include "core/find/named_fields.h"
#include "core/report/failure.h"
#include "mainwindow/column_provider.h"

#include <algorithm>

int MovieListModel::addExtraField(const ExtraField& field) {
    m_extras.push_back({field, false, {}, {}, Find::fold(field.emptyWord), {}, 0});
    m_extraIds << field.id;
    m_extraNumeric << field.numeric;
    m_extraWords << field.stateWords;
    return int(m_extras.size()) - 1;
}

qint64 MovieListModel::idOf(const Row& row) {
    return row.cell(0).toLongLong();
}

QString MovieListModel::sortText(const Row& row, int column) const {
    const int extra = extraOfColumn(column);
    if (extra < 0) {
        return row.cell(column).toString();
    }
    return m_extras[std::size_t(extra)].values.value(idOf(row));
}

int MovieListModel::columnOfExtra(int extra) const {
    const auto at = std::find(m_extraShown.begin(), m_extraShown.end(), extra);
    return at == m_extraShown.end() ? -1 : int(m_headers.size() + (at - m_extraShown.begin()));
}

int MovieListModel::extraOfColumn(int column) const {
    const qsizetype shown = column - m_headers.size();
    return shown >= 0 && shown < qsizetype(m_extraShown.size()) ? m_extraShown[std::size_t(shown)]
                                                                : -1;
}

void MovieListModel::showExtraColumn(int extra, bool shown) {
    if (extra < 0 || extra >= extraFieldCount()) {
        throw Failure(QStringLiteral("There is no extra column %1.").arg(extra + 1));
    }
    if (shown == extraColumnShown(extra)) {
        return;
    }
    if (shown) {
        const auto at = std::lower_bound(m_extraShown.begin(), m_extraShown.end(), extra);
        const int column = int(m_headers.size() + (at - m_extraShown.begin()));
        beginInsertColumns({}, column, column);
        m_extraShown.insert(at, extra);
        loadExtras(false);
        endInsertColumns();
        if (m_sortKey >= column) {
            ++m_sortKey; // the sort stays with its column
        }
        return;
    }
    const int column = columnOfExtra(extra);
    if (m_sortKey == column) {
        m_sorted = false; // the rows keep their order
        m_sortKey = 0;
    } else if (m_sortKey > column) {
        --m_sortKey;
    }
    beginRemoveColumns({}, column, column);
    m_extraShown.erase(std::find(m_extraShown.begin(), m_extraShown.end(), extra));
    endRemoveColumns();
}

bool MovieListModel::namesExtra(const Find::Query& query, int extra) {
    return std::any_of(query.clauses().begin(), query.clauses().end(), [extra](const auto& clause) {
        return std::any_of(clause.anyOf.begin(), clause.anyOf.end(), [extra](const auto& term) {
            return Find::isExtra(term.field) && Find::extraIndex(term.field) == extra;
        });
    });
}

bool MovieListModel::extraInUse(int extra) const {
    return extraColumnShown(extra) || namesExtra(m_query, extra);
}

void MovieListModel::forgetFindsNaming(int extra) {
    std::erase_if(m_recentFinds,
                  [extra](const Found& found) { return namesExtra(found.query, extra); });
}

void MovieListModel::loadExtras(bool again, const Find::Query* query) {
    for (int e = 0; e < extraFieldCount(); ++e) {
        Extra& extra = m_extras[std::size_t(e)];
        const bool wanted = !m_rows.empty() && m_extraLoader &&
                            (extraInUse(e) || (query != nullptr && namesExtra(*query, e)));
        if (!wanted && (again || m_rows.empty())) {
            extra.loaded = false;
            extra.values = {};
            extra.folded = {};
            extra.byRow = {};
            continue;
        }
        if (wanted && (!extra.loaded || again)) {
            readExtra(e);
        }
    }
}

void MovieListModel::readExtra(int e) {
    // Most cells repeat a few texts ("DVD", "Shelf B"): each distinct text is
    // folded once and its folded text shared, up to a bound on the texts kept.
    constexpr qsizetype kFoldsShared = 4096;
    Extra& extra = m_extras[std::size_t(e)];
    extra.values = m_extraLoader(e);
    extra.folded = {};
    extra.byRow = {};
    extra.folded.reserve(extra.values.size());
    QHash<QString, QString> foldOf;
    for (auto value = extra.values.begin(); value != extra.values.end(); ++value) {
        QString folded = foldOf.value(value.value());
        if (folded.isNull()) {
            folded = Find::fold(value.value());
            if (foldOf.size() < kFoldsShared) {
                foldOf.insert(value.value(), folded);
            }
        }
        extra.folded.insert(value.key(), folded);
        if (const qsizetype findOnly = value.value().indexOf(kFindOnly); findOnly >= 0) {
            value.value().truncate(findOnly);
        }
    }
    extra.loaded = true;
    forgetFindsNaming(e); // found over other texts
    // The rows shown were found by this field's old texts: look at every row next time.
    m_wholePassDue = m_wholePassDue || (m_filtered && !m_filling && namesExtra(m_query, e));
}

std::vector<int> MovieListModel::extrasNamed(QStringView text) const {
    return Find::extraFieldsNamed(text, m_extraIds);
}

bool MovieListModel::readExtrasNamed(QStringView text) {
    bool read = false;
    for (int e : extrasNamed(text)) {
        Extra& extra = m_extras[std::size_t(e)];
        if (!extra.loaded && !m_rows.empty() && m_extraLoader && !m_filling) {
            readExtra(e);
            layOutExtra(extra);
            read = true;
        }
    }
    return read;
}

void MovieListModel::layOutExtra(Extra& extra) {
    if (extra.byRowStamp != m_rowsStamp) {
        extra.byRow.clear();
        extra.byRowStamp = m_rowsStamp;
    }
    extra.byRow.reserve(m_rows.size());
    for (std::size_t position = extra.byRow.size(); position < m_rows.size(); ++position) {
        const auto text = extra.folded.constFind(idOf(m_rows[position]));
        extra.byRow.push_back(text == extra.folded.constEnd() ? QStringView(extra.foldedEmpty)
                                                              : QStringView(*text));
    }
}

void MovieListModel::reloadExtras() {
    loadExtras(true);
    if (!m_extraShown.empty() && itemCount() > 0) {
        Q_EMIT dataChanged(index(0, int(m_headers.size())),
                           index(itemCount() - 1, columnCount() - 1), {Qt::DisplayRole});
    }
    Q_EMIT extrasReloaded();
}

void MovieListModel::setMutedMovies(QSet<qint64> movies, const QColor& colour) {
    if (movies == m_muted && (movies.isEmpty() || colour == m_mutedColour)) {
        return;
    }
    m_muted = std::move(movies);
    m_mutedColour = colour;
    if (itemCount() > 0) {
        Q_EMIT dataChanged(index(0, 0), index(itemCount() - 1, columnCount() - 1),
                           {Qt::ForegroundRole});
    }
}
