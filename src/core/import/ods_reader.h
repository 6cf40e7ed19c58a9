#pragma once

#include "core/formats/zip_archive.h"
#include "core/import/import_limits.h"
#include "core/import/row_reader.h"
#include "core/import/xlsx_workbook.h"

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
class OdsReader : public RowReader {
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

    // One cell as read: its shown text and how many times it stands.
    struct Cell {
        QString text;
        qint64 repeat = 1;
        bool hasData = false;        // a text, a value or a formula
        bool unsavedFormula = false; // a formula without a result
    };

private:
    void listSheets();
    void findSheet();
    bool readRowElement(SourceRow& row, qint64& repeat);
    void appendCell(SourceRow& row, const Cell& cell, qint64& emptyBefore,
                    const RowPlace& place) const;

    std::unique_ptr<ZipArchive> m_archive;
    ImportLimits m_limits;
    UnpackBudget m_budget;
    qint64 m_contentSize = 0;
    QStringList m_sheetNames;
    QString m_sheetName;
    std::optional<XmlPart> m_content;
    int m_depth = 0; // below the sheet's element
    bool m_done = false;
    qint64 m_nextRow = 1;
    SourceRow m_repeated; // a row that stands again
    qint64 m_repeatsLeft = 0;
    qint64 m_cellCount = 0;
};
