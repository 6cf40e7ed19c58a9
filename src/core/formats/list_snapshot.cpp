#include "core/formats/list_snapshot.h"

#include "core/report/failure.h"

#include <algorithm>

void ListSnapshot::addRow(const QStringList& cells, bool ticked) {
    beginRow(ticked);
    for (int column = 0; column < columnCount(); ++column) {
        addCell(column < cells.size() ? cells.at(column) : QString());
    }
}

void ListSnapshot::beginRow(bool ticked) {
    // Completes the previous row if it was given too few cells.
    m_cells.resize(m_ticked.size() * std::size_t(columnCount()));
    m_ticked.push_back(ticked);
}

void ListSnapshot::checkRow(int row) const {
    if (row < 0 || row >= rowCount()) {
        throw Failure(QStringLiteral("Row %1 does not exist in the list.").arg(row + 1));
    }
}

const QString& ListSnapshot::cell(int row, int column) const {
    checkRow(row);
    if (column < 0 || column >= columnCount()) {
        throw Failure(QStringLiteral("Column %1 does not exist.").arg(column + 1));
    }
    const std::size_t index = std::size_t(row) * std::size_t(columnCount()) + std::size_t(column);
    static const QString kEmpty;
    return index < m_cells.size() ? m_cells[index] : kEmpty;
}

bool ListSnapshot::isTicked(int row) const {
    checkRow(row);
    return m_ticked[std::size_t(row)];
}

int ListSnapshot::tickedCount() const {
    return int(std::count(m_ticked.begin(), m_ticked.end(), true));
}

void ListSnapshot::reserveRows(int rows) {
    m_cells.reserve(std::size_t(rows) * std::size_t(columnCount()));
    m_ticked.reserve(std::size_t(rows));
}
