#include "core/import/xlsx_reader.h"

#include "core/import/import_failure.h"
#include "core/import/ooxml_text.h"
#include "core/import/sheet_choice.h"

namespace {

// The 0-based column of a cell reference ("C7" is 2), -1 when it has none.
qint64 columnOf(QStringView reference) {
    qint64 column = 0;
    qsizetype letters = 0;
    for (const QChar c : reference) {
        char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z') {
            u = char16_t(u - (u'a' - u'A'));
        }
        if (u < u'A' || u > u'Z') {
            break;
        }
        // Beyond any real sheet: stop counting before the number overflows.
        column = std::min<qint64>(column * 26 + (u - u'A' + 1), qint64(1) << 40);
        ++letters;
    }
    return letters == 0 ? -1 : column - 1;
}

CellType cellTypeOf(QStringView type) {
    if (type.isEmpty() || type == u"n") {
        return CellType::Number;
    }
    if (type == u"inlineStr") {
        return CellType::InlineText;
    }
    if (type == u"s") {
        return CellType::SharedText;
    }
    if (type == u"str") {
        return CellType::FormulaText;
    }
    if (type == u"e") {
        return CellType::Error;
    }
    if (type == u"b") {
        return CellType::Boolean;
    }
    if (type == u"d") {
        return CellType::Date;
    }
    return CellType::Number;
}

// A date-and-time value as the file writes it ("2001-05-04T00:00:00"):
// the date alone when it has no time of day.
QString isoDateText(const QString& value) {
    static const QString kMidnight = QStringLiteral("T00:00:00");
    if (value.size() > 10 && value.mid(10).startsWith(kMidnight)) {
        return value.left(10);
    }
    return QString(value).replace(QLatin1Char('T'), QLatin1Char(' '));
}

} // namespace

XlsxReader::XlsxReader(std::unique_ptr<ZipArchive> archive, const ImportLimits& limits,
                       const QString& sheet)
    : m_archive(std::move(archive)), m_limits(limits), m_budget{limits.unpackedBytes} {
    m_layout = readWorkbookLayout(*m_archive, m_budget, m_limits);
    for (const WorkbookSheet& each : m_layout.sheets) {
        if (sheetHasData(*m_archive, each.part, m_budget, m_limits)) {
            m_sheetNames << each.name;
        }
    }
    m_layout.sheetName = chooseSheet(m_sheetNames, sheet, m_layout.sheetName);
    for (const WorkbookSheet& each : m_layout.sheets) {
        if (each.name == m_layout.sheetName) {
            m_layout.sheetPart = each.part;
            break;
        }
    }
    m_sharedTexts = readSharedTexts(*m_archive, m_layout.sharedTextsPart, m_budget, m_limits);
    m_styles = readCellStyles(*m_archive, m_layout.stylesPart, m_budget, m_limits);
    m_sheetSize = std::max<qint64>(0, m_archive->recordedSize(m_layout.sheetPart));
    if (m_sheetSize > m_limits.unpackedBytes) {
        throw ImportFailure(ImportProblem::UnpackedSizeCap,
                            QStringLiteral("The workbook's sheet unpacks to %1, more than the %2 "
                                           "this program reads (a cap against damaged or hostile "
                                           "files).")
                                .arg(sizeText(m_sheetSize), sizeText(m_limits.unpackedBytes)));
    }
    m_sheet.emplace(*m_archive, m_layout.sheetPart, m_budget, m_limits.unpackedBytes, m_limits);
    // Cells are found by their local names; resolving namespaces for every
    // element of a large sheet would cost much and tell nothing.
    m_sheet->xml().setNamespaceProcessing(false);
}

XlsxReader::~XlsxReader() = default;

QString XlsxReader::formatName() const {
    return QStringLiteral("workbook (sheet \"%1\")").arg(m_layout.sheetName);
}

qint64 XlsxReader::progressDone() const {
    return std::min(m_sheet->bytesRead(), m_sheetSize);
}

bool XlsxReader::readRow(SourceRow& row) {
    QXmlStreamReader& xml = m_sheet->xml();
    row.cells.clear();
    row.unsavedFormulas = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"row") {
                bool numbered = false;
                const qint64 number =
                    xml.attributes().value(QLatin1String("r")).toLongLong(&numbered);
                m_rowNumber = numbered && number > 0 ? number : m_rowNumber + 1;
                m_nextColumn = 0;
                row.number = m_rowNumber;
                row.cells.clear();
            } else if (xml.name() == u"c") {
                readCell(row);
            }
        } else if (token == QXmlStreamReader::EndElement && xml.name() == u"row") {
            return true;
        }
    }
    m_sheet->check(m_rowNumber > 0 ? QStringLiteral("after row %1").arg(m_rowNumber) : QString());
    return false;
}

void XlsxReader::readCell(SourceRow& row) {
    QXmlStreamReader& xml = m_sheet->xml();
    const RowPlace place{placeWord(), m_rowNumber};
    if (++m_cellCount > m_limits.cells) {
        throw failureAt(ImportProblem::CellCap, place,
                        QStringLiteral("the sheet has more than %1 cells, the most this program "
                                       "reads (a cap against damaged or hostile files).")
                            .arg(m_limits.cells));
    }
    // The attributes are read into locals at once: holding on to the reader's
    // attribute list across the next tokens would make it copy the list for
    // every element inside the cell.
    qint64 column = m_nextColumn;
    CellType type = CellType::Number;
    int style = 0;
    {
        const QXmlStreamAttributes attributes = xml.attributes();
        const qint64 referenced = columnOf(attributes.value(QLatin1String("r")));
        if (referenced >= 0) {
            column = referenced;
        }
        type = cellTypeOf(attributes.value(QLatin1String("t")));
        style = attributes.value(QLatin1String("s")).toInt();
    }

    QString value;
    bool isInline = false;
    bool hasFormula = false;
    bool hasValue = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"c") {
            break;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"v") {
            value = xml.readElementText();
            hasValue = true;
        } else if (xml.name() == u"is") {
            value = readRichText(xml, m_limits.valueBytes);
            isInline = true;
            hasValue = true;
        } else {
            hasFormula = hasFormula || xml.name() == u"f";
            xml.skipCurrentElement(); // a formula or an extension
        }
    }
    if (xml.hasError()) {
        return; // reported by readRow
    }
    if (hasFormula && !hasValue) {
        row.unsavedFormulas = true;
    }
    const QString text = cellText(type, style, value, isInline, place);
    if (text.isEmpty()) {
        m_nextColumn = int(std::min<qint64>(column + 1, m_limits.columns));
        return;
    }
    if (column >= m_limits.columns) {
        throw failureAt(ImportProblem::TooManyColumns, place,
                        QStringLiteral("a value stands in column %1, beyond the %2 columns this "
                                       "program reads; a movie list needs nine.")
                            .arg(columnLetters(column))
                            .arg(m_limits.columns));
    }
    if (text.contains(QChar(0))) {
        throw failureAt(ImportProblem::NulInValue, place,
                        QStringLiteral("a value holds a NUL character, which a movie's fields "
                                       "cannot store."));
    }
    while (row.cells.size() < column) {
        row.cells.append(QString());
    }
    if (row.cells.size() == column) {
        row.cells.append(text);
    } else {
        row.cells[column] = text; // the same cell twice: the last one counts
    }
    m_nextColumn = int(column + 1);
}

QString XlsxReader::cellText(CellType type, int style, const QString& value, bool isInline,
                             const RowPlace& place) const {
    if (isInline || type == CellType::InlineText) {
        return value;
    }
    if (type == CellType::SharedText) {
        bool ok = false;
        const qint64 index = value.toLongLong(&ok);
        if (!ok || index < 0 || index >= qint64(m_sharedTexts.size())) {
            throw failureAt(ImportProblem::DamagedWorkbook, place,
                            QStringLiteral("a cell refers to shared text %1, but the workbook "
                                           "has %2.")
                                .arg(value)
                                .arg(m_sharedTexts.size()));
        }
        return m_sharedTexts[std::size_t(index)];
    }
    if (type == CellType::FormulaText) {
        return decodeOoxmlEscapes(value);
    }
    if (type == CellType::Error) {
        return value;
    }
    if (type == CellType::Boolean) {
        return value.trimmed() == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    }
    if (type == CellType::Date) {
        return isoDateText(value);
    }
    if (value.isEmpty()) {
        return value;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) {
        return value;
    }
    const NumberStyle numberStyle = style >= 0 && std::size_t(style) < m_styles.size()
                                        ? m_styles[std::size_t(style)]
                                        : NumberStyle{};
    return displayNumber(number, numberStyle, m_layout.date1904);
}
