// The movie list's extra fields: other features' texts per movie, shown as
// columns after the list's own and named in the find text. Their texts are
// kept by movie id, not in the rows, so a list that uses none pays nothing.
#include "mainwindow/movie_list_model.h"

#include "core/find/fold.h"
#include "core/report/failure.h"
#include "mainwindow/column_provider.h"

#include <algorithm>

int MovieListModel::addExtraField(const ExtraField& field) {
    m_extras.push_back({field, false, {}, {}, Find::fold(field.emptyWord)});
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

bool MovieListModel::extraInUse(int extra) const {
    if (extraColumnShown(extra)) {
        return true;
    }
    for (const Find::Clause& clause : m_query.clauses()) {
        for (const Find::Term& term : clause.anyOf) {
            if (Find::isExtra(term.field) && Find::extraIndex(term.field) == extra) {
                return true;
            }
        }
    }
    return false;
}

void MovieListModel::loadExtras(bool again) {
    for (int e = 0; e < extraFieldCount(); ++e) {
        Extra& extra = m_extras[std::size_t(e)];
        const bool wanted = !m_rows.empty() && extraInUse(e) && m_extraLoader;
        if (!wanted && (again || m_rows.empty())) {
            extra.loaded = false;
            extra.values = {};
            extra.folded = {};
            continue;
        }
        if (!wanted || (extra.loaded && !again)) {
            continue;
        }
        extra.values = m_extraLoader(e);
        extra.folded = {};
        extra.folded.reserve(extra.values.size());
        for (auto value = extra.values.begin(); value != extra.values.end(); ++value) {
            extra.folded.insert(value.key(), Find::fold(value.value()));
            if (const qsizetype findOnly = value.value().indexOf(kFindOnly); findOnly >= 0) {
                value.value().truncate(findOnly);
            }
        }
        extra.loaded = true;
        forgetFinds(); // found over other texts
        m_wholePassDue = m_wholePassDue || (m_filtered && !m_filling);
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
