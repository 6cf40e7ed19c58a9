#include "core/import/ods_reader.h"

#include "core/formats/utf8_text.h"
#include "core/import/import_failure.h"
#include "core/import/sheet_choice.h"
#include "core/import/streamed_part.h"
#include "core/import/xlsx_workbook.h"

namespace {

const QString kContentPart = QStringLiteral("content.xml");

// Lists the sheets (tables inside the spreadsheet's body) and whether each
// has a cell with data; reads each up to its first such cell.
class SheetLister : public XmlHandler {
public:
    explicit SheetLister(qint64 maxBytes) : m_cell(maxBytes) {}

    void startElement(std::string_view name, const XmlAttributes& attributes) override {
        if (m_cell.active()) {
            m_cell.startElement(name, attributes);
        } else if (m_sheetDepth > 0) {
            if (!m_found && OdsCellReader::isCell(name)) {
                m_cell.begin(attributes);
            } else {
                ++m_sheetDepth;
            }
        } else if (name == "spreadsheet") {
            spreadsheet = true;
        } else if (spreadsheet && name == "table") {
            m_sheetDepth = 1;
            m_found = false;
            m_name = fromUtf8KeepingMark(attributes.value("name"));
            if (!anySheet) {
                firstSheet = m_name;
                anySheet = true;
            }
        }
    }
    void endElement(std::string_view) override {
        if (m_cell.active()) {
            if (m_cell.endElement()) {
                m_found = m_cell.take().hasData;
            }
        } else if (m_sheetDepth > 0 && --m_sheetDepth == 0 && m_found) {
            sheetsWithData << m_name;
        }
    }
    void text(std::string_view text) override {
        if (m_cell.active()) {
            m_cell.text(text);
        }
    }

    bool spreadsheet = false;
    bool anySheet = false;
    QString firstSheet;
    QStringList sheetsWithData;

private:
    OdsCellReader m_cell;
    int m_sheetDepth = 0; // below the current sheet's element, 0 outside sheets
    bool m_found = false;
    QString m_name;
};

} // namespace

OdsReader::OdsReader(std::unique_ptr<ZipArchive> archive, const ImportLimits& limits,
                     const QString& sheet)
    : m_archive(std::move(archive)), m_limits(limits), m_budget{limits.unpackedBytes},
      m_cell(limits.valueBytes) {
    if (!m_archive->contains(kContentPart)) {
        throw ImportFailure(ImportProblem::NotAWorkbook,
                            QStringLiteral("The file is a zip container but not an OpenDocument "
                                           "spreadsheet: it has no %1.")
                                .arg(kContentPart));
    }
    m_contentSize = std::max<qint64>(0, m_archive->recordedSize(kContentPart));
    if (m_contentSize > m_limits.unpackedBytes) {
        throw unpackedSizeFailure(QStringLiteral("The spreadsheet's content"), m_contentSize,
                                  m_limits.unpackedBytes);
    }
    listSheets();
    m_sheetName = chooseSheet(m_sheetNames, sheet, m_sheetName);
    findSheet();
}

OdsReader::~OdsReader() = default;

QString OdsReader::formatName() const {
    return QStringLiteral("OpenDocument spreadsheet (sheet \"%1\")").arg(m_sheetName);
}

qint64 OdsReader::progressDone() const {
    return std::min(m_content->bytesRead(), m_contentSize);
}

// The sheets with data, and the first sheet's name in m_sheetName. The
// listing has an unpacking budget of its own: the content is read twice.
void OdsReader::listSheets() {
    UnpackBudget budget{m_limits.unpackedBytes};
    SheetLister lister(m_limits.valueBytes);
    StreamedPart part(*m_archive, kContentPart, budget, m_limits.unpackedBytes, m_limits, lister);
    while (part.advance()) {
    }
    part.check();
    if (!lister.spreadsheet) {
        throw ImportFailure(ImportProblem::NotAWorkbook,
                            QStringLiteral("The file is an OpenDocument file but not a "
                                           "spreadsheet."));
    }
    if (!lister.anySheet) {
        throw ImportFailure(ImportProblem::NoSheet,
                            QStringLiteral("The spreadsheet has no sheet of cells to import."));
    }
    m_sheetName = lister.firstSheet;
    m_sheetNames = lister.sheetsWithData;
}

// Reads up to the start of the chosen sheet.
void OdsReader::findSheet() {
    m_sheetNameUtf8 = m_sheetName.toUtf8();
    m_content.emplace(*m_archive, kContentPart, m_budget, m_limits.unpackedBytes, m_limits,
                      static_cast<XmlHandler&>(*this));
    if (!m_content->advance()) {
        m_content->check();
        m_done = true; // the content changed between the readings: nothing to read
    }
}

bool OdsReader::readRow(SourceRow& row) {
    if (m_repeatsLeft > 0) {
        --m_repeatsLeft;
        ++m_repeated.number;
        row = m_repeated;
        return true;
    }
    m_row = &row;
    m_rowReady = false;
    while (!m_done && m_content->advance()) {
        if (m_rowReady) {
            if (m_rowRepeat > 1) {
                m_repeated = row;
                m_repeatsLeft = m_rowRepeat - 1;
            }
            return true;
        }
    }
    m_content->check(m_nextRow > 1 ? QStringLiteral("after row %1").arg(m_nextRow - 1) : QString());
    return false;
}

void OdsReader::startElement(std::string_view name, const XmlAttributes& attributes) {
    if (m_skipped > 0) {
        ++m_skipped;
    } else if (m_cell.active()) {
        m_cell.startElement(name, attributes);
    } else if (m_seeking) {
        if (name == "spreadsheet") {
            m_inSpreadsheet = true;
        } else if (m_inSpreadsheet && name == "table") {
            if (attributes.value("name") == m_sheetNameUtf8) {
                m_seeking = false;
                m_content->pause();
            } else {
                m_skipped = 1; // another sheet
            }
        }
    } else if (m_inRow) {
        if (OdsCellReader::isCell(name)) {
            m_cell.begin(attributes);
        } else {
            m_skipped = 1;
        }
    } else if (name == "table-row") {
        startRow(attributes);
    } else {
        ++m_depth; // columns, groups of rows ...
    }
}

void OdsReader::endElement(std::string_view) {
    if (m_skipped > 0) {
        --m_skipped;
    } else if (m_cell.active()) {
        if (m_cell.endElement()) {
            const OdsCell cell = m_cell.take();
            m_row->unsavedFormulas = m_row->unsavedFormulas || cell.unsavedFormula;
            appendCell(*m_row, cell, m_emptyBefore, RowPlace{placeWord(), m_row->number});
        }
    } else if (m_seeking) {
        return;
    } else if (m_inRow) {
        m_inRow = false;
        if (endRow()) {
            m_rowReady = true;
            m_content->pause();
        }
    } else if (m_depth == 0) {
        m_done = true; // the sheet's own end
        m_content->pause();
    } else {
        --m_depth;
    }
}

void OdsReader::text(std::string_view text) {
    if (m_skipped == 0 && m_cell.active()) {
        m_cell.text(text);
    }
}

void OdsReader::startRow(const XmlAttributes& attributes) {
    m_rowRepeat = odsRepeat(attributes, "number-rows-repeated");
    m_row->number = m_nextRow;
    m_row->cells.clear();
    m_row->unsavedFormulas = false;
    m_nextRow = std::min(m_nextRow + m_rowRepeat, kMostOdsRepeats);
    m_emptyBefore = 0;
    m_inRow = true;
}

// Whether the row just read has anything in it.
bool OdsReader::endRow() {
    const SourceRow& row = *m_row;
    if (row.cells.isEmpty() && !row.unsavedFormulas) {
        return false; // empty rows, however many, are passed over
    }
    const RowPlace place{placeWord(), row.number};
    const qint64 cells = std::max<qint64>(row.cells.size(), 1) * m_rowRepeat;
    if (cells > m_limits.cells - m_cellCount) {
        throw failureAt(ImportProblem::CellCap, place,
                        QStringLiteral("the sheet has more than %1 cells, the most this program "
                                       "reads (a cap against damaged or hostile files).")
                            .arg(m_limits.cells));
    }
    m_cellCount += cells;
    return true;
}

// Empty cells are only counted until a value follows, so that the run of
// empty cells ending a row never becomes cells.
void OdsReader::appendCell(SourceRow& row, const OdsCell& cell, qint64& emptyBefore,
                           const RowPlace& place) const {
    if (cell.text.isEmpty()) {
        emptyBefore = std::min(emptyBefore + cell.repeat, kMostOdsRepeats);
        return;
    }
    const qint64 column = row.cells.size() + emptyBefore;
    if (column + cell.repeat > m_limits.columns) {
        throw failureAt(ImportProblem::TooManyColumns, place,
                        QStringLiteral("a value stands in column %1, beyond the %2 columns this "
                                       "program reads; a movie list needs nine.")
                            .arg(columnLetters(std::max<qint64>(column, m_limits.columns)))
                            .arg(m_limits.columns));
    }
    for (; emptyBefore > 0; --emptyBefore) {
        row.cells.append(QString());
    }
    for (qint64 i = 0; i < cell.repeat; ++i) {
        row.cells.append(cell.text);
    }
}
