#include "mainwindow/window_context.h"

#include "core/catalogue/movie_column.h"
#include "mainwindow/list_view.h"

std::optional<int> WindowContext::highlightedRow() {
    const int row = list().selectedRow();
    if (row < 0) {
        return std::nullopt;
    }
    return row;
}

std::optional<qint64> WindowContext::highlightedMovie() {
    const std::optional<int> row = highlightedRow();
    if (!row) {
        return std::nullopt;
    }
    bool number = false;
    const qint64 id = list().items().cell(*row, columnIndex(MovieColumn::Id)).toLongLong(&number);
    if (!number) {
        return std::nullopt;
    }
    return id;
}
