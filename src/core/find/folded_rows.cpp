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
    m_units.reserve(std::size_t(total));
    for (int position = rowCount(); position < end; ++position) {
        put(std::size_t(position), foldRow(rows.row(position)));
    }
    m_built = end == total;
    return !m_built;
}

void FoldedRows::clear() {
    m_copyOf = {};
    m_units = {};
    m_copies = {};
    m_pool = QString();
    m_built = false;
}

void FoldedRows::append(const RowText& row) {
    put(m_copyOf.size(), foldRow(row));
}

void FoldedRows::update(int position, const RowText& row) {
    // A copy it had stays in the pool unused until the next build.
    put(std::size_t(position), foldRow(row));
}

void FoldedRows::reorder(const std::vector<int>& order) {
    std::vector<quint32> copyOf;
    std::vector<UnitMask> units;
    copyOf.reserve(order.size());
    units.reserve(order.size());
    for (int old : order) {
        copyOf.push_back(m_copyOf[std::size_t(old)]);
        units.push_back(m_units[std::size_t(old)]);
    }
    m_copyOf = std::move(copyOf);
    m_units = std::move(units);
}

void FoldedRows::put(std::size_t position, const Folded& row) {
    if (position == m_copyOf.size()) {
        m_copyOf.push_back(row.copyOf);
        m_units.push_back(row.units);
    } else {
        m_copyOf[position] = row.copyOf;
        m_units[position] = row.units;
    }
}

FoldedRows::Folded FoldedRows::foldRow(const RowText& row) {
    // One pass reads the row through the fold table, telling whether it folds
    // unit by unit and, when it does, which units it holds.
    const quint8* bits = foldedBitTable();
    const char16_t* units = row.base + row.bounds[0];
    const char16_t* end = row.base + row.bounds[kFieldCount];
    Folded folded;
    for (; units != end; ++units) {
        const quint8 bit = bits[*units];
        if (bit == kFoldsApart) {
            break;
        }
        folded.units |= UnitMask(1) << bit;
    }
    if (units == end) {
        return folded;
    }
    Copy copy;
    copy.start = m_pool.size();
    for (int f = 0; f < kFieldCount; ++f) {
        copy.bounds[std::size_t(f)] = quint32(m_pool.size() - copy.start);
        m_pool += fold(row.field(f));
    }
    copy.bounds[kFieldCount] = quint32(m_pool.size() - copy.start);
    m_copies.push_back(copy);
    folded.copyOf = quint32(m_copies.size() - 1);
    folded.units = unitMask(QStringView(m_pool).sliced(copy.start));
    return folded;
}

RowText FoldedRows::copy(int position) const {
    const Copy& c = m_copies[m_copyOf[std::size_t(position)]];
    return {QStringView(m_pool).utf16() + c.start, c.bounds.data()};
}

} // namespace Find
