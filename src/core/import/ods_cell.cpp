#include "core/import/ods_cell.h"

#include "core/formats/utf8_text.h"
#include "core/import/import_failure.h"
#include "core/import/import_limits.h"

#include <algorithm>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

qint64 odsRepeat(const XmlAttributes& attributes, std::string_view localName) {
    return std::clamp<qint64>(attributes.value(localName).toLongLong(), 1, kMostOdsRepeats);
}

void OdsCellReader::begin(const XmlAttributes& attributes) {
    m_active = true;
    m_repeat = odsRepeat(attributes, "number-columns-repeated");
    m_formula = !attributes.value("formula").isEmpty();
    m_valued = !attributes.value("value-type").isEmpty();
    m_stored.clear();
    for (const std::string_view name :
         {"value", "string-value", "date-value", "time-value", "boolean-value"}) {
        const QByteArrayView value = attributes.value(name);
        if (!value.isEmpty()) {
            m_stored.assign(value.data(), std::size_t(value.size()));
            break;
        }
    }
    m_text.clear();
    m_paragraphs = 0;
    m_paragraphDepth = 0;
    m_skipped = 0;
}

void OdsCellReader::startElement(std::string_view name, const XmlAttributes& attributes) {
    if (m_skipped > 0) {
        ++m_skipped;
        return;
    }
    if (m_paragraphDepth == 0) {
        if (name == "p" || name == "h") {
            if (m_paragraphs++ > 0) {
                m_text += '\n';
            }
            m_paragraphDepth = 1;
            m_afterBlank = true; // blanks at the start are layout, not text
        } else {
            m_skipped = 1; // a comment, a picture ...
        }
        return;
    }
    if (name == "s") {
        const qint64 count =
            std::clamp<qint64>(attributes.value("c").toLongLong(), 1, m_maxBytes + 1);
        checkSize(qint64(m_text.size()) + count);
        m_text.append(std::size_t(count), ' ');
    } else if (name == "tab") {
        m_text += '\t';
    } else if (name == "line-break") {
        m_text += '\n';
    } else if (name != "note" && name != "annotation") {
        ++m_paragraphDepth; // a span, a link ...: its text is part of the paragraph
        return;
    }
    m_afterBlank = false;
    m_skipped = 1;
    checkSize(qint64(m_text.size()));
}

bool OdsCellReader::endElement() {
    if (m_skipped > 0) {
        --m_skipped;
        return false;
    }
    if (m_paragraphDepth > 0) {
        --m_paragraphDepth;
        return false;
    }
    m_active = false;
    return true;
}

void OdsCellReader::text(std::string_view text) {
    if (m_skipped > 0 || m_paragraphDepth == 0) {
        return;
    }
    for (const char c : text) {
        const bool blank = isBlank(c);
        if (!blank || !m_afterBlank) {
            m_text += blank ? ' ' : c;
        }
        m_afterBlank = blank;
    }
    checkSize(qint64(m_text.size()));
}

OdsCell OdsCellReader::take() const {
    OdsCell cell;
    cell.repeat = m_repeat;
    const std::string& text = m_paragraphs == 0 && m_valued ? m_stored : m_text;
    checkSize(qint64(text.size()));
    cell.text = fromUtf8KeepingMark(QByteArrayView(text.data(), qsizetype(text.size())));
    cell.hasData = m_formula || m_valued || !cell.text.isEmpty();
    cell.unsavedFormula = m_formula && !m_valued && cell.text.isEmpty();
    return cell;
}

void OdsCellReader::checkSize(qint64 size) const {
    if (size > m_maxBytes) {
        throw ImportFailure(ImportProblem::ValueTooLong,
                            QStringLiteral("A text of the spreadsheet is longer than %1, the most "
                                           "this program reads.")
                                .arg(sizeText(m_maxBytes)));
    }
}
