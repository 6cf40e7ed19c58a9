#include "core/find/unit_mask.h"

#include "core/find/fold.h"

#include <array>
#include <memory>

namespace Find {

const quint8* foldedBitTable() {
    static const std::unique_ptr<std::array<quint8, 0x10000>> table = [] {
        const char16_t* fold = unitFoldTable();
        auto bits = std::make_unique<std::array<quint8, 0x10000>>();
        for (std::size_t unit = 0; unit < bits->size(); ++unit) {
            (*bits)[unit] = fold[unit] == 0 ? kFoldsApart : quint8(bitNumber(fold[unit]));
        }
        return bits;
    }();
    return table->data();
}

} // namespace Find
