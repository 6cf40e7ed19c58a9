#pragma once

#include "core/find/query.h"

#include <QStringView>
#include <QtGlobal>

namespace Find {

// A row's eight fields laid out one after the other in one text: field f
// (0 = title ... 7 = studio) spans bounds[f] .. bounds[f + 1] from base.
struct RowText {
    const char16_t* base = nullptr;
    const quint32* bounds = nullptr; // kFieldCount + 1 entries

    QStringView field(int f) const {
        return {base + bounds[f], qsizetype(bounds[f + 1] - bounds[f])};
    }
};

// The rows to find in, by position, as their owner holds them.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int rowCount() const = 0;
    virtual RowText row(int position) const = 0;
    // The folded text of the row's extra field (query.h); empty when it has none.
    virtual QStringView extraField(int position, int extra) const {
        Q_UNUSED(position)
        Q_UNUSED(extra)
        return {};
    }
};

} // namespace Find
