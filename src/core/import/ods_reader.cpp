#include "core/import/ods_reader.h"

#include "core/import/import_failure.h"
#include "core/import/sheet_choice.h"

namespace {

const QString kContentPart = QStringLiteral("content.xml");
// More rows or columns than any sheet has: repeat counts stop growing here.
constexpr qint64 kMostRepeats = qint64(1) << 40;

// The value of the attribute with that local name, whatever its prefix.
QStringView attribute(const QXmlStreamAttributes& attributes, QStringView localName) {
    for (const QXmlStreamAttribute& each : attributes) {
        const QStringView name = each.qualifiedName();
        const qsizetype colon = name.lastIndexOf(u':');
        if (name.mid(colon + 1) == localName) {
            return each.value();
        }
    }
    return {};
}

qint64 repeatOf(const QXmlStreamAttributes& attributes, QStringView localName) {
    const qint64 repeat = attribute(attributes, localName).toLongLong();
    return std::clamp<qint64>(repeat, 1, kMostRepeats);
}

bool isCell(QStringView name) {
    return name == u"table-cell" || name == u"covered-table-cell";
}

ImportFailure tooLong(qint64 maxBytes) {
    return {ImportProblem::ValueTooLong,
            QStringLiteral("A text of the spreadsheet is longer than %1, the most this program "
                           "reads.")
                .arg(sizeText(maxBytes))};
}

// The shown text of a paragraph (<text:p>), the reader at its start. Runs
// of blanks in the markup count as one space, as in any OpenDocument text;
// the spaces, tabs and line breaks it means are elements of their own.
QString readParagraph(QXmlStreamReader& xml, qint64 maxBytes) {
    QString text;
    bool afterBlank = true; // blanks at the start are layout, not text
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
            for (const QChar c : xml.text()) {
                const bool blank = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
                if (!blank || !afterBlank) {
                    text += blank ? QChar(u' ') : c;
                }
                afterBlank = blank;
            }
            break;
        case QXmlStreamReader::StartElement: {
            const QStringView name = xml.name();
            if (name == u"s") {
                const qint64 count = attribute(xml.attributes(), u"c").toLongLong();
                text += QString(qsizetype(std::clamp<qint64>(count, 1, maxBytes + 1)), u' ');
            } else if (name == u"tab") {
                text += u'\t';
            } else if (name == u"line-break") {
                text += u'\n';
            } else if (name != u"note" && name != u"annotation") {
                ++depth; // a span, a link ...: its text is part of the paragraph
                break;
            }
            afterBlank = false;
            xml.skipCurrentElement();
            break;
        }
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
        // A UTF-16 unit stands for at least one byte of the file.
        if (text.size() > maxBytes) {
            throw tooLong(maxBytes);
        }
    }
    return text;
}

// The cell's value as the file writes it, for a cell that has no shown text.
QString storedValue(const QXmlStreamAttributes& attributes) {
    for (const QStringView name :
         {u"value", u"string-value", u"date-value", u"time-value", u"boolean-value"}) {
        const QStringView value = attribute(attributes, name);
        if (!value.isEmpty()) {
            return value.toString();
        }
    }
    return {};
}

// One cell (<table:table-cell> or <table:covered-table-cell>), the reader at
// its start; reads up to its end.
OdsReader::Cell readCell(QXmlStreamReader& xml, qint64 maxBytes) {
    OdsReader::Cell cell;
    const QXmlStreamAttributes attributes = xml.attributes();
    cell.repeat = repeatOf(attributes, u"number-columns-repeated");
    const bool formula = !attribute(attributes, u"formula").isEmpty();
    const bool valued = !attribute(attributes, u"value-type").isEmpty();
    QStringList paragraphs;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            break; // the cell's own end: what is inside is read whole
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"p" || xml.name() == u"h") {
            paragraphs << readParagraph(xml, maxBytes);
        } else {
            xml.skipCurrentElement(); // a comment, a picture ...
        }
    }
    cell.text = paragraphs.isEmpty() && valued ? storedValue(attributes)
                                               : paragraphs.join(QLatin1Char('\n'));
    if (cell.text.size() > maxBytes) {
        throw tooLong(maxBytes);
    }
    cell.hasData = formula || valued || !cell.text.isEmpty();
    cell.unsavedFormula = formula && !valued && cell.text.isEmpty();
    return cell;
}

// Whether the sheet, the reader at its start, has a cell with data; reads
// up to its end.
bool readSheetHasData(QXmlStreamReader& xml, qint64 maxBytes) {
    bool found = false;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::StartElement) {
            if (!found && isCell(xml.name())) {
                found = readCell(xml, maxBytes).hasData;
            } else {
                ++depth;
            }
        }
    }
    return found;
}

// Moves to the start of the next sheet: a table inside the spreadsheet's
// body (`inSpreadsheet` remembers having entered it). False at the end.
bool nextSheet(QXmlStreamReader& xml, bool& inSpreadsheet) {
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"spreadsheet") {
            inSpreadsheet = true;
        } else if (inSpreadsheet && xml.name() == u"table") {
            return true;
        }
    }
    return false;
}

} // namespace

OdsReader::OdsReader(std::unique_ptr<ZipArchive> archive, const ImportLimits& limits,
                     const QString& sheet)
    : m_archive(std::move(archive)), m_limits(limits), m_budget{limits.unpackedBytes} {
    if (!m_archive->contains(kContentPart)) {
        throw ImportFailure(ImportProblem::NotAWorkbook,
                            QStringLiteral("The file is a zip container but not an OpenDocument "
                                           "spreadsheet: it has no %1.")
                                .arg(kContentPart));
    }
    m_contentSize = std::max<qint64>(0, m_archive->recordedSize(kContentPart));
    if (m_contentSize > m_limits.unpackedBytes) {
        throw ImportFailure(ImportProblem::UnpackedSizeCap,
                            QStringLiteral("The spreadsheet's content unpacks to %1, more than "
                                           "the %2 this program reads (a cap against damaged or "
                                           "hostile files).")
                                .arg(sizeText(m_contentSize), sizeText(m_limits.unpackedBytes)));
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
    XmlPart part(*m_archive, kContentPart, budget, m_limits.unpackedBytes, m_limits);
    QXmlStreamReader& xml = part.xml();
    xml.setNamespaceProcessing(false); // elements are found by their local names
    bool spreadsheet = false;
    bool anySheet = false;
    while (nextSheet(xml, spreadsheet)) {
        const QString name = attribute(xml.attributes(), u"name").toString();
        if (!anySheet) {
            m_sheetName = name;
            anySheet = true;
        }
        if (readSheetHasData(xml, m_limits.valueBytes)) {
            m_sheetNames << name;
        }
    }
    part.check();
    if (!spreadsheet) {
        throw ImportFailure(ImportProblem::NotAWorkbook,
                            QStringLiteral("The file is an OpenDocument file but not a "
                                           "spreadsheet."));
    }
    if (!anySheet) {
        throw ImportFailure(ImportProblem::NoSheet,
                            QStringLiteral("The spreadsheet has no sheet of cells to import."));
    }
}

void OdsReader::findSheet() {
    m_content.emplace(*m_archive, kContentPart, m_budget, m_limits.unpackedBytes, m_limits);
    QXmlStreamReader& xml = m_content->xml();
    xml.setNamespaceProcessing(false);
    bool spreadsheet = false;
    while (nextSheet(xml, spreadsheet)) {
        if (attribute(xml.attributes(), u"name") == m_sheetName) {
            return;
        }
        xml.skipCurrentElement();
    }
    m_content->check();
    m_done = true; // the content changed between the readings: nothing to read
}

bool OdsReader::readRow(SourceRow& row) {
    if (m_repeatsLeft > 0) {
        --m_repeatsLeft;
        ++m_repeated.number;
        row = m_repeated;
        return true;
    }
    QXmlStreamReader& xml = m_content->xml();
    while (!m_done && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            qint64 repeat = 1;
            if (xml.name() != u"table-row") {
                ++m_depth; // columns, groups of rows ...
            } else if (readRowElement(row, repeat)) {
                if (repeat > 1) {
                    m_repeated = row;
                    m_repeatsLeft = repeat - 1;
                }
                return true;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            m_done = m_depth == 0; // the sheet's own end
            --m_depth;
        }
    }
    m_content->check(m_nextRow > 1 ? QStringLiteral("after row %1").arg(m_nextRow - 1) : QString());
    return false;
}

// Reads a row element into `row`; false when it has nothing in it.
bool OdsReader::readRowElement(SourceRow& row, qint64& repeat) {
    QXmlStreamReader& xml = m_content->xml();
    const RowPlace place{placeWord(), m_nextRow};
    repeat = repeatOf(xml.attributes(), u"number-rows-repeated");
    row.number = m_nextRow;
    row.cells.clear();
    row.unsavedFormulas = false;
    m_nextRow = std::min(m_nextRow + repeat, kMostRepeats);
    qint64 emptyBefore = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            break; // the row's own end
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (isCell(xml.name())) {
            const Cell cell = readCell(xml, m_limits.valueBytes);
            row.unsavedFormulas = row.unsavedFormulas || cell.unsavedFormula;
            appendCell(row, cell, emptyBefore, place);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (row.cells.isEmpty() && !row.unsavedFormulas) {
        return false; // empty rows, however many, are passed over
    }
    const qint64 cells = std::max<qint64>(row.cells.size(), 1) * repeat;
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
void OdsReader::appendCell(SourceRow& row, const Cell& cell, qint64& emptyBefore,
                           const RowPlace& place) const {
    if (cell.text.isEmpty()) {
        emptyBefore = std::min(emptyBefore + cell.repeat, kMostRepeats);
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
