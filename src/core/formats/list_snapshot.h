#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// What an export takes from the movie list, as the list stood when the
// export began: the column captions, and per row (in display order) its
// cells (column 0 the item's own text) and its tick state. The exports let
// window events run while they work, so the user may refill or empty the
// list meanwhile; working from this copy, they never read a row that is gone.
class ListSnapshot {
public:
    explicit ListSnapshot(QStringList captions = {}) : m_captions(std::move(captions)) {}

    // Appends a row; cells beyond the column count are dropped, missing ones are empty.
    void addRow(const QStringList& cells, bool ticked);
    // Appends a row cell by cell: begin it, then give each column in order.
    void beginRow(bool ticked);
    void addCell(const QString& text) { m_cells.push_back(text); }

    const QStringList& captions() const { return m_captions; }
    int columnCount() const { return int(m_captions.size()); }
    int rowCount() const { return int(m_ticked.size()); }
    const QString& cell(int row, int column) const; // 0-based
    bool isTicked(int row) const;
    int tickedCount() const;

    void reserveRows(int rows);

private:
    void checkRow(int row) const;

    QStringList m_captions;
    std::vector<QString> m_cells; // row-major, columnCount() a row
    std::vector<bool> m_ticked;
};
