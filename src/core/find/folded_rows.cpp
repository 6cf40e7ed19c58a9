#include "core/find/folded_rows.h"

#include "core/find/fold.h"

#include <algorithm>

namespace Find {

void FoldedRows::build(const RowSource& rows) {
    clear();
    buildMore(rows, rows.rowCount());
}

bool FoldedRows::buildMore(const RowSource& rows, int count) {
    const int total = rows.rowCount();
    const int end = rowCount() + std::min(count, total - rowCount());
    m_copyOf.reserve(std::size_t(total));
    for (int position = rowCount(); position < end; ++position) {
        m_copyOf.push_back(copyOf(rows.row(position)));
    }
    m_built = end == total;
    return !m_built;
}

void FoldedRows::clear() {
    m_copyOf = {};
    m_copies = {};
    m_pool = QString();
    m_built = false;
}

void FoldedRows::append(const RowText& row) {
    m_copyOf.push_back(copyOf(row));
}

void FoldedRows::update(int position, const RowText& row) {
    // A copy it had stays in the pool unused until the next build.
    m_copyOf[std::size_t(position)] = copyOf(row);
}

void FoldedRows::reorder(const std::vector<int>& order) {
    std::vector<quint32> reordered;
    reordered.reserve(order.size());
    for (int old : order) {
        reordered.push_back(m_copyOf[std::size_t(old)]);
    }
    m_copyOf = std::move(reordered);
}

quint32 FoldedRows::copyOf(const RowText& row) {
    const QStringView all(row.base + row.bounds[0],
                          qsizetype(row.bounds[kFieldCount] - row.bounds[0]));
    if (foldsUnitByUnit(all)) {
        return kInPlace;
    }
    Copy copy;
    copy.start = m_pool.size();
    for (int f = 0; f < kFieldCount; ++f) {
        copy.bounds[std::size_t(f)] = quint32(m_pool.size() - copy.start);
        m_pool += fold(row.field(f));
    }
    copy.bounds[kFieldCount] = quint32(m_pool.size() - copy.start);
    m_copies.push_back(copy);
    return quint32(m_copies.size() - 1);
}

RowText FoldedRows::copy(int position) const {
    const Copy& c = m_copies[m_copyOf[std::size_t(position)]];
    return {QStringView(m_pool).utf16() + c.start, c.bounds.data()};
}

} // namespace Find
