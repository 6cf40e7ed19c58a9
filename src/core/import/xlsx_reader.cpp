#include "core/import/xlsx_reader.h"

#include "core/formats/utf8_text.h"
#include "core/import/import_failure.h"
#include "core/import/ooxml_text.h"
#include "core/import/sheet_choice.h"
#include "core/import/streamed_part.h"

#include <algorithm>

namespace {

// The 0-based column of a cell reference ("C7" is 2), -1 when it has none.
qint64 columnOf(QByteArrayView reference) {
    qint64 column = 0;
    qsizetype letters = 0;
    for (const char c : reference) {
        char u = c;
        if (u >= 'a' && u <= 'z') {
            u = char(u - ('a' - 'A'));
        }
        if (u < 'A' || u > 'Z') {
            break;
        }
        // Beyond any real sheet: stop counting before the number overflows.
        column = std::min<qint64>(column * 26 + (u - 'A' + 1), qint64(1) << 40);
        ++letters;
    }
    return letters == 0 ? -1 : column - 1;
}

CellType cellTypeOf(QByteArrayView attribute) {
    const std::string_view type(attribute.data(), std::size_t(attribute.size()));
    if (type.empty() || type == "n") {
        return CellType::Number;
    }
    if (type == "inlineStr") {
        return CellType::InlineText;
    }
    if (type == "s") {
        return CellType::SharedText;
    }
    if (type == "str") {
        return CellType::FormulaText;
    }
    if (type == "e") {
        return CellType::Error;
    }
    if (type == "b") {
        return CellType::Boolean;
    }
    if (type == "d") {
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

// A whole number written as plain digits ("1984"), short enough that the
// general format shows it exactly as written: most numbers of a movie list.
bool isPlainWholeNumber(const QString& value) {
    constexpr qsizetype kMostDigits = 15; // below 1e15, shown without an exponent
    if (value.isEmpty() || value.size() > kMostDigits ||
        (value.size() > 1 && value.front() == u'0')) {
        return false;
    }
    return std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

XlsxReader::XlsxReader(std::unique_ptr<ZipArchive> archive, const ImportLimits& limits,
                       const QString& sheet)
    : m_archive(std::move(archive)), m_limits(limits), m_budget{limits.unpackedBytes},
      m_inlineText(limits.valueBytes) {
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
        throw unpackedSizeFailure(QStringLiteral("The workbook's sheet"), m_sheetSize,
                                  m_limits.unpackedBytes);
    }
    m_sheet.emplace(*m_archive, m_layout.sheetPart, m_budget, m_limits.unpackedBytes, m_limits,
                    static_cast<XmlHandler&>(*this));
}

XlsxReader::~XlsxReader() = default;

QString XlsxReader::formatName() const {
    return QStringLiteral("workbook (sheet \"%1\")").arg(m_layout.sheetName);
}

qint64 XlsxReader::progressDone() const {
    return std::min(m_sheet->bytesRead(), m_sheetSize);
}

bool XlsxReader::readRow(SourceRow& row) {
    row.cells.clear();
    row.unsavedFormulas = false;
    m_row = &row;
    m_rowDone = false;
    while (m_sheet->advance()) {
        if (m_rowDone) {
            return true;
        }
    }
    m_sheet->check(m_rowNumber > 0 ? QStringLiteral("after row %1").arg(m_rowNumber) : QString());
    return false;
}

void XlsxReader::startElement(std::string_view name, const XmlAttributes& attributes) {
    if (m_skipped > 0 || m_inValue) {
        ++m_skipped;
    } else if (m_inlineText.active()) {
        m_inlineText.startElement(name);
    } else if (m_inCell) {
        if (name == "v") {
            m_cell.value.clear();
            m_cell.isRich = false;
            m_cell.hasValue = true;
            m_inValue = true;
        } else if (name == "is") {
            m_inlineText.begin();
            m_cell.isInline = true;
            m_cell.hasValue = true;
        } else {
            m_cell.hasFormula = m_cell.hasFormula || name == "f";
            m_skipped = 1; // a formula or an extension
        }
    } else if (name == "row") {
        startRow(attributes);
    } else if (name == "c") {
        startCell(attributes);
    }
}

void XlsxReader::endElement(std::string_view name) {
    if (m_skipped > 0) {
        --m_skipped;
    } else if (m_inValue) {
        m_inValue = false;
    } else if (m_inlineText.active()) {
        if (m_inlineText.endElement()) {
            m_cell.richValue = m_inlineText.take();
            m_cell.isRich = true;
        }
    } else if (m_inCell) {
        m_inCell = false;
        endCell();
    } else if (name == "row") {
        m_rowDone = true;
        m_sheet->pause();
    }
}

void XlsxReader::text(std::string_view text) {
    if (m_skipped > 0) {
        return;
    }
    if (m_inValue) {
        m_cell.value.append(text);
    } else if (m_inlineText.active()) {
        m_inlineText.text(text);
    }
}

void XlsxReader::startRow(const XmlAttributes& attributes) {
    bool numbered = false;
    const qint64 number = attributes.value("r").toLongLong(&numbered);
    m_rowNumber = numbered && number > 0 ? number : m_rowNumber + 1;
    m_nextColumn = 0;
    m_row->number = m_rowNumber;
    m_row->cells.clear();
}

void XlsxReader::startCell(const XmlAttributes& attributes) {
    if (++m_cellCount > m_limits.cells) {
        throw failureAt(ImportProblem::CellCap, RowPlace{placeWord(), m_rowNumber},
                        QStringLiteral("the sheet has more than %1 cells, the most this program "
                                       "reads (a cap against damaged or hostile files).")
                            .arg(m_limits.cells));
    }
    m_inCell = true;
    m_cell.column = m_nextColumn;
    const qint64 referenced = columnOf(attributes.value("r"));
    if (referenced >= 0) {
        m_cell.column = referenced;
    }
    m_cell.type = cellTypeOf(attributes.value("t"));
    m_cell.style = attributes.value("s").toInt();
    m_cell.value.clear();
    m_cell.richValue.clear();
    m_cell.isRich = false;
    m_cell.isInline = false;
    m_cell.hasFormula = false;
    m_cell.hasValue = false;
}

void XlsxReader::endCell() {
    const RowPlace place{placeWord(), m_rowNumber};
    SourceRow& row = *m_row;
    if (m_cell.hasFormula && !m_cell.hasValue) {
        row.unsavedFormulas = true;
    }
    const QString value = m_cell.isRich ? m_cell.richValue
                                        : fromUtf8KeepingMark(QByteArrayView(
                                              m_cell.value.data(), qsizetype(m_cell.value.size())));
    const QString text = cellText(m_cell.type, m_cell.style, value, m_cell.isInline, place);
    const qint64 column = m_cell.column;
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
    const NumberStyle numberStyle = style >= 0 && std::size_t(style) < m_styles.size()
                                        ? m_styles[std::size_t(style)]
                                        : NumberStyle{};
    // The general format shows such a number as its digits: no need to
    // convert it there and back.
    if (numberStyle.kind == NumberStyle::Kind::General && isPlainWholeNumber(value)) {
        return value;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) {
        return value;
    }
    return displayNumber(number, numberStyle, m_layout.date1904);
}
