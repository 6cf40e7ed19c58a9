#pragma once

#include "mainwindow/computed_column.h"
#include "mainwindow/window_feature.h"

#include <memory>
#include <optional>
#include <vector>

struct ShelfCopy;

// The shelf's columns, offered in the list header's menu: each movie's
// formats, locations, number of copies, statuses, barcodes and sets. Their
// ids are the find text's words: `format:4k`, `location:"shelf b"`,
// `status:wished`, `barcode:5051892`, `copies:>1`, `set:alien`. The
// copies are read once for all the columns a fill or a reload reads.
class ShelfColumns : public WindowFeature {
    Q_OBJECT
public:
    explicit ShelfColumns(WindowContext& context);
    ~ShelfColumns() override;

private:
    // Every copy, read on the first call and kept until the window's
    // events run again or the list is filled anew.
    const std::vector<ShelfCopy>& allCopies();

    std::vector<std::unique_ptr<ComputedColumn>> m_columns;
    std::unique_ptr<std::vector<ShelfCopy>> m_copies;
};
