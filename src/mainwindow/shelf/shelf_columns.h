#pragma once

#include "mainwindow/computed_column.h"
#include "mainwindow/window_feature.h"

#include <memory>
#include <vector>

// The shelf's columns, offered in the list header's menu: each movie's
// formats, locations, number of copies, statuses, barcodes and sets. Their
// ids are the find text's words: `format:4k`, `location:"shelf b"`,
// `status:wished`, `barcode:5051892`, `copies:>1`, `set:alien`. Each
// column reads only what it shows, for every movie in one go.
class ShelfColumns : public WindowFeature {
    Q_OBJECT
public:
    explicit ShelfColumns(WindowContext& context);
    ~ShelfColumns() override;

private:
    std::vector<std::unique_ptr<ComputedColumn>> m_columns;
};
