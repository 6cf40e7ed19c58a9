#pragma once

#include "core/formats/zip_archive.h"
#include "core/import/import_limits.h"
#include "core/import/ods_cell.h"
#include "core/import/row_reader.h"
#include "core/import/streamed_part.h"

#include <QByteArray>
#include <memory>
#include <optional>

// Reads one sheet of an OpenDocument spreadsheet (.ods) row by row: the one
// named `sheet`, else the first with data. Every cell reads as the text the
// spreadsheet shows (its paragraphs joined by line breaks), never as the
// value behind it, so a number reads as it is formatted. Repeated cells and
// rows are expanded, except the empty ones at the end of a row or a sheet,
// which a spreadsheet program writes by the million and which add nothing;
// a row with a formula whose result the file does not hold is marked. The
// sheet's XML streams out of the container.
class OdsReader : public RowReader, private XmlHandler {
public:
    explicit OdsReader(std::unique_ptr<ZipArchive> archive, const ImportLimits& limits = {},
                       const QString& sheet = {});
    ~OdsReader() override;

    bool readRow(SourceRow& row) override;

    QString formatName() const override;
    QString placeWord() const override { return QStringLiteral("Row"); }
    QStringList sheetNames() const override { return m_sheetNames; }
    QString sheetName() const override { return m_sheetName; }
    qint64 progressDone() const override;
    qint64 progressTotal() const override { return m_contentSize; }

private:
    void listSheets();
    void findSheet();
    // The content's events: the sheet is found first, then a row is handed
    // out at its end.
    void startElement(std::string_view name, const XmlAttributes& attributes) override;
    void endElement(std::string_view name) override;
    void text(std::string_view text) override;
    void startRow(const XmlAttributes& attributes);
    bool endRow();
    void appendCell(SourceRow& row, const OdsCell& cell, qint64& emptyBefore,
                    const RowPlace& place) const;

    std::unique_ptr<ZipArchive> m_archive;
    ImportLimits m_limits;
    UnpackBudget m_budget;
    qint64 m_contentSize = 0;
    QStringList m_sheetNames;
    QString m_sheetName;
    QByteArray m_sheetNameUtf8;
    std::optional<StreamedPart> m_content;
    bool m_seeking = true;        // before the sheet
    bool m_inSpreadsheet = false; // the spreadsheet's body has begun
    int m_depth = 0;              // below the sheet's element
    int m_skipped = 0;            // depth inside an element passed over
    bool m_done = false;
    qint64 m_nextRow = 1;
    SourceRow m_repeated; // a row that stands again
    qint64 m_repeatsLeft = 0;
    qint64 m_cellCount = 0;

    // The row being read, while readRow() runs.
    SourceRow* m_row = nullptr;
    bool m_inRow = false;
    bool m_rowReady = false;
    qint64 m_rowRepeat = 1;
    qint64 m_emptyBefore = 0; // empty cells not yet added
    OdsCellReader m_cell;
};
