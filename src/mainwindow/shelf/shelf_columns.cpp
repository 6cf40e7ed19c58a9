#include "mainwindow/shelf/shelf_columns.h"

#include "core/shelf/shelf_store.h"
#include "mainwindow/services.h"
#include "mainwindow/window_context.h"

ShelfColumns::ShelfColumns(WindowContext& context)
    : WindowFeature(context, QStringLiteral("ShelfColumns")) {
    Catalogue& catalogue = context.services().catalogue;
    const auto add = [this](const char16_t* id, const char16_t* caption,
                            ComputedColumn::Read read) {
        m_columns.push_back(std::make_unique<ComputedColumn>(
            QString::fromUtf16(id), QString::fromUtf16(caption), std::move(read)));
    };
    // Each column reads only the field it shows, straight into its cells.
    const auto fromCopies = [&catalogue](CopyCellField field) -> ComputedColumn::Read {
        return [&catalogue, field] { return ShelfStore(catalogue).copyCells(field); };
    };
    add(u"format", u"Formats", fromCopies(CopyCellField::Format));
    add(u"location", u"Location", fromCopies(CopyCellField::Location));
    add(u"copies", u"Copies", [&catalogue] { return ShelfStore(catalogue).copyCountCells(); });
    m_columns.back()->setNumeric(QStringLiteral("0")); // `copies:0`: the movies without
    add(u"status", u"Status", fromCopies(CopyCellField::Status));
    add(u"barcode", u"Barcodes", fromCopies(CopyCellField::Barcode));
    add(u"set", u"Sets", [&catalogue] { return ShelfStore(catalogue).setCells(); });
    for (const auto& column : m_columns) {
        context.addColumn(*column);
    }
}

ShelfColumns::~ShelfColumns() = default;
