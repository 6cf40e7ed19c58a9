#pragma once

#include "core/import/import_limits.h"
#include "core/import/row_reader.h"
#include "core/import/streamed_part.h"
#include "core/import/xlsx_workbook.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// What a cell's "t" attribute says its value is.
enum class CellType { Number, InlineText, SharedText, FormulaText, Error, Boolean, Date };

// Reads one sheet of an .xlsx workbook row by row (the one named `sheet`,
// else the first with data): shared and inline texts, numbers as the text a
// spreadsheet shows for them in their cell's format (dates as ISO dates),
// TRUE and FALSE, formulas by their last result (a row with a formula
// without one is marked). The sheet's XML streams out of the container; only
// the table of shared texts is held in memory.
class XlsxReader : public RowReader, private XmlHandler {
public:
    explicit XlsxReader(std::unique_ptr<ZipArchive> archive, const ImportLimits& limits = {},
                        const QString& sheet = {});
    ~XlsxReader() override;

    bool readRow(SourceRow& row) override;

    QString formatName() const override;
    QString placeWord() const override { return QStringLiteral("Row"); }
    QStringList sheetNames() const override { return m_sheetNames; }
    QString sheetName() const override { return m_layout.sheetName; }
    qint64 progressDone() const override;
    qint64 progressTotal() const override { return m_sheetSize; }

private:
    // The sheet's events: a row is handed out at its end.
    void startElement(std::string_view name, const XmlAttributes& attributes) override;
    void endElement(std::string_view name) override;
    void text(std::string_view text) override;
    void startRow(const XmlAttributes& attributes);
    void startCell(const XmlAttributes& attributes);
    void endCell();
    QString cellText(CellType type, int style, const QString& value, bool isInline,
                     const RowPlace& place) const;

    std::unique_ptr<ZipArchive> m_archive;
    ImportLimits m_limits;
    UnpackBudget m_budget;
    WorkbookLayout m_layout;
    QStringList m_sheetNames;
    std::vector<QString> m_sharedTexts;
    std::vector<NumberStyle> m_styles;
    std::optional<StreamedPart> m_sheet;
    qint64 m_sheetSize = 0;
    qint64 m_rowNumber = 0;
    int m_nextColumn = 0;
    qint64 m_cellCount = 0;

    // The row being read, while readRow() runs.
    SourceRow* m_row = nullptr;
    bool m_rowDone = false;
    // The cell being read.
    struct Cell {
        qint64 column = 0;
        CellType type = CellType::Number;
        int style = 0;
        std::string value;   // of its <v>, UTF-8
        QString richValue;   // of its <is>
        bool isRich = false; // the value is the rich one, read last
        bool isInline = false;
        bool hasFormula = false;
        bool hasValue = false;
    };
    Cell m_cell;
    bool m_inCell = false;
    bool m_inValue = false;
    int m_skipped = 0; // depth inside an element of the cell that is passed over
    RichText m_inlineText;
};
