#pragma once

#include "core/find/row_text.h"
#include "core/find/unit_mask.h"

#include <QString>
#include <array>
#include <cstddef>
#include <vector>

namespace Find {

// The folded text of every row, kept beside the rows so that a search folds
// nothing. Most rows fold unit by unit (fold.h): their folded text is read
// straight from the row's own text through the fold table, and only the
// rest (decomposed accents, ligatures, characters beyond 16 bits) keep a
// folded copy here. Beside each row it keeps which folded units its eight
// fields hold (unit_mask.h), so that a search passes over most rows without
// scanning them. So the index costs a few bytes a row.
class FoldedRows {
public:
    // Folds every row of the source, in its order.
    void build(const RowSource& rows);
    // Folds up to `count` more rows of the source after those folded so far,
    // so that the work can be spread out ahead of the first search; true
    // while rows remain. Built once every row of the source is folded.
    bool buildMore(const RowSource& rows, int count);
    void clear();
    bool isBuilt() const { return m_built; }
    int rowCount() const { return int(m_copyOf.size()); }

    // A row added at the end, or changed in place.
    void append(const RowText& row);
    void update(int position, const RowText& row);
    // The rows put in a new order: order[newPosition] = oldPosition.
    void reorder(const std::vector<int>& order);

    // Whether the row has a folded copy; when it has none its own text
    // folds unit by unit.
    bool hasCopy(int position) const { return m_copyOf[std::size_t(position)] != kInPlace; }
    RowText copy(int position) const;
    // The folded units of the row's eight fields.
    UnitMask units(int position) const { return m_units[std::size_t(position)]; }

private:
    static constexpr quint32 kInPlace = 0xffffffffu;
    struct Copy {
        qsizetype start = 0;
        std::array<quint32, kFieldCount + 1> bounds{}; // from start
    };

    struct Folded {
        quint32 copyOf = kInPlace;
        UnitMask units = 0;
    };

    Folded foldRow(const RowText& row);
    void put(std::size_t position, const Folded& row);

    std::vector<quint32> m_copyOf; // per row: kInPlace, or its entry in m_copies
    std::vector<UnitMask> m_units; // per row
    std::vector<Copy> m_copies;
    QString m_pool;
    bool m_built = false;
};

} // namespace Find
