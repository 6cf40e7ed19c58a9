#include "core/import/xlsx_workbook.h"

#include "core/formats/utf8_text.h"
#include "core/import/import_failure.h"
#include "core/import/ooxml_text.h"
#include "core/import/streamed_part.h"

#include <QDir>
#include <QHash>

namespace {

const QString kWorkbookPart = QStringLiteral("xl/workbook.xml");
const QString kWorkbookRelations = QStringLiteral("xl/_rels/workbook.xml.rels");
// The small parts that describe a workbook: no real one comes near this.
constexpr qint64 kSmallPartCap = qint64(16) << 20;

struct Relation {
    QString type; // the last segment of the relationship type: "worksheet", "styles", ...
    QString target;
};

// A part named relative to the workbook's folder, or from the root with "/".
QString partPath(const QString& target) {
    if (target.startsWith(QLatin1Char('/'))) {
        return QDir::cleanPath(target.mid(1));
    }
    return QDir::cleanPath(QStringLiteral("xl/") + target);
}

QHash<QString, Relation> readRelations(ZipArchive& archive, UnpackBudget& budget,
                                       const ImportLimits& limits) {
    QHash<QString, Relation> relations;
    if (!archive.contains(kWorkbookRelations)) {
        return relations;
    }
    XmlPart part(archive, kWorkbookRelations, budget, kSmallPartCap, limits);
    QXmlStreamReader& xml = part.xml();
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Relationship") {
            const QXmlStreamAttributes attributes = xml.attributes();
            if (attributes.value(QLatin1String("TargetMode")) == u"External") {
                continue;
            }
            const QString type = attributes.value(QLatin1String("Type")).toString();
            relations.insert(attributes.value(QLatin1String("Id")).toString(),
                             {type.mid(type.lastIndexOf(QLatin1Char('/')) + 1),
                              attributes.value(QLatin1String("Target")).toString()});
        }
    }
    part.check();
    return relations;
}

ImportFailure openFailure(const ZipFailure& failure) {
    switch (failure.problem()) {
    case ZipProblem::NotAZip:
        return {ImportProblem::NotAWorkbook,
                QStringLiteral("The file is not a zip container, so it is not an .xlsx workbook.")};
    case ZipProblem::CannotRead:
        return {ImportProblem::CannotRead,
                QStringLiteral("The file cannot be read: %1.").arg(failure.description())};
    case ZipProblem::CannotSeek:
    case ZipProblem::Inconsistent:
    case ZipProblem::Damaged:
        break;
    }
    return {
        ImportProblem::DamagedWorkbook,
        QStringLiteral("The workbook's zip container is damaged: %1.").arg(failure.description())};
}

bool isTrue(QStringView value) {
    return value == u"1" || value == u"true";
}

} // namespace

std::unique_ptr<ZipArchive> openWorkbookFile(const QString& path) {
    try {
        return ZipArchive::openFile(path);
    } catch (const ZipFailure& failure) {
        throw openFailure(failure);
    }
}

std::unique_ptr<ZipArchive> openWorkbookBytes(QByteArray bytes) {
    try {
        return ZipArchive::openBytes(std::move(bytes));
    } catch (const ZipFailure& failure) {
        throw openFailure(failure);
    }
}

XmlPart::XmlPart(ZipArchive& archive, const QString& name, UnpackBudget& budget, qint64 partCap,
                 const ImportLimits& limits)
    : m_name(name), m_partCap(partCap), m_limits(limits),
      m_device(openWorkbookPart(archive, name, budget, partCap)),
      m_guard(*m_device, limits.xmlDepth, limits.valueBytes), m_xml(&m_guard) {}

void XmlPart::check(const QString& where) const {
    if (!m_guard.problem().isEmpty()) {
        throw xmlCapFailure(m_name, m_guard.problem());
    }
    if (partCapHit(*m_device)) {
        const bool partCapFirst = partBytesRead(*m_device) > m_partCap;
        throw partSizeFailure(m_name, partCapFirst ? m_partCap : m_limits.unpackedBytes);
    }
    if (m_xml.hasError()) {
        throw damagedPartFailure(m_name, where, m_xml.lineNumber(), m_xml.columnNumber(),
                                 m_xml.errorString());
    }
}

WorkbookLayout readWorkbookLayout(ZipArchive& archive, UnpackBudget& budget,
                                  const ImportLimits& limits) {
    if (!archive.contains(kWorkbookPart)) {
        if (archive.contains(QStringLiteral("content.xml"))) {
            throw ImportFailure(ImportProblem::NotAWorkbook,
                                QStringLiteral("The file is an OpenDocument spreadsheet (.ods), "
                                               "not an .xlsx workbook."));
        }
        throw ImportFailure(ImportProblem::NotAWorkbook,
                            QStringLiteral("The file is a zip container but not an .xlsx "
                                           "workbook: it has no %1.")
                                .arg(kWorkbookPart));
    }
    const QHash<QString, Relation> relations = readRelations(archive, budget, limits);

    WorkbookLayout layout;
    XmlPart part(archive, kWorkbookPart, budget, kSmallPartCap, limits);
    QXmlStreamReader& xml = part.xml();
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"workbookPr") {
            layout.date1904 = isTrue(xml.attributes().value(QLatin1String("date1904")));
        } else if (xml.name() == u"sheet") {
            // The relationship id is the one attribute named "id" in a namespace.
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty()) {
                    const Relation relation = relations.value(attribute.value().toString());
                    const QString sheetPart = partPath(relation.target);
                    if (relation.type == u"worksheet" && archive.contains(sheetPart)) {
                        layout.sheets.push_back(
                            {xml.attributes().value(QLatin1String("name")).toString(), sheetPart});
                    }
                }
            }
        }
    }
    part.check();
    if (layout.sheets.empty()) {
        throw ImportFailure(ImportProblem::NoSheet,
                            QStringLiteral("The workbook has no sheet of cells to import."));
    }
    layout.sheetName = layout.sheets.front().name;
    layout.sheetPart = layout.sheets.front().part;
    for (const Relation& relation : relations) {
        if (relation.type == u"sharedStrings") {
            layout.sharedTextsPart = partPath(relation.target);
        } else if (relation.type == u"styles") {
            layout.stylesPart = partPath(relation.target);
        }
    }
    return layout;
}

QString columnLetters(qint64 column) {
    QString name;
    for (qint64 n = column + 1; n > 0; n = (n - 1) / 26) {
        name.prepend(QChar(u'A' + char16_t((n - 1) % 26)));
    }
    return name;
}

namespace {

// Looks for the first cell with a value or a formula, and pauses there.
class DataFinder : public XmlHandler {
public:
    void startElement(std::string_view name, const XmlAttributes&) override {
        if (name == "c") {
            m_inCell = true;
        } else if (m_inCell && (name == "v" || name == "is" || name == "f")) {
            found = true;
            part->pause();
        }
    }
    void endElement(std::string_view name) override { m_inCell = m_inCell && name != "c"; }
    void text(std::string_view) override {}

    StreamedPart* part = nullptr;
    bool found = false;

private:
    bool m_inCell = false;
};

// Collects the shared texts (<si> elements).
class SharedTexts : public XmlHandler {
public:
    explicit SharedTexts(const ImportLimits& limits)
        : m_cells(limits.cells), m_text(limits.valueBytes) {}

    void startElement(std::string_view name, const XmlAttributes&) override {
        if (m_text.active()) {
            m_text.startElement(name);
        } else if (name == "si") {
            if (qint64(texts.size()) >= m_cells) {
                throw ImportFailure(ImportProblem::CellCap,
                                    QStringLiteral("The workbook has more than %1 shared texts, "
                                                   "the most this program reads (a cap against "
                                                   "damaged or hostile files).")
                                        .arg(m_cells));
            }
            m_text.begin();
        }
    }
    void endElement(std::string_view) override {
        if (m_text.active() && m_text.endElement()) {
            texts.push_back(m_text.take());
        }
    }
    void text(std::string_view text) override {
        if (m_text.active()) {
            m_text.text(text);
        }
    }

    std::vector<QString> texts;

private:
    qint64 m_cells;
    RichText m_text;
};

} // namespace

bool sheetHasData(ZipArchive& archive, const QString& partName, UnpackBudget& budget,
                  const ImportLimits& limits) {
    DataFinder finder;
    StreamedPart part(archive, partName, budget, limits.unpackedBytes, limits, finder);
    finder.part = &part;
    while (part.advance()) {
        if (finder.found) {
            return true;
        }
    }
    part.check();
    return false;
}

void RichText::begin() {
    m_text.clear();
    m_depth = 1;
    m_inText = false;
    m_skipped = 0;
}

void RichText::startElement(std::string_view name) {
    if (m_skipped > 0 || m_inText || name == "rPh") {
        ++m_skipped; // a reading guide is not part of the text
    } else if (name == "t") {
        m_inText = true;
    } else {
        ++m_depth; // a run: its <t> is part of the text
    }
}

bool RichText::endElement() {
    if (m_skipped > 0) {
        --m_skipped;
        return false;
    }
    if (m_inText) {
        m_inText = false;
        if (qint64(m_text.size()) > m_maxBytes) {
            throw ImportFailure(ImportProblem::ValueTooLong,
                                QStringLiteral("A text of the workbook is longer than %1, the "
                                               "most this program reads.")
                                    .arg(sizeText(m_maxBytes)));
        }
        return false;
    }
    return --m_depth == 0;
}

void RichText::text(std::string_view text) {
    if (m_inText && m_skipped == 0) {
        m_text.append(text);
    }
}

QString RichText::take() const {
    const QString text =
        fromUtf8KeepingMark(QByteArrayView(m_text.data(), qsizetype(m_text.size())));
    // Most texts hold no escape: looking for one in the bytes is quicker.
    return m_text.find("_x") == std::string::npos ? text : decodeOoxmlEscapes(text);
}

std::vector<QString> readSharedTexts(ZipArchive& archive, const QString& partName,
                                     UnpackBudget& budget, const ImportLimits& limits) {
    if (partName.isEmpty() || !archive.contains(partName)) {
        return {};
    }
    SharedTexts texts(limits);
    StreamedPart part(archive, partName, budget, limits.sharedTextBytes, limits, texts);
    while (part.advance()) {
    }
    part.check();
    return std::move(texts.texts);
}

std::vector<NumberStyle> readCellStyles(ZipArchive& archive, const QString& partName,
                                        UnpackBudget& budget, const ImportLimits& limits) {
    std::vector<NumberStyle> styles;
    if (partName.isEmpty() || !archive.contains(partName)) {
        return styles;
    }
    XmlPart part(archive, partName, budget, kSmallPartCap, limits);
    QXmlStreamReader& xml = part.xml();
    QHash<int, QString> codes;
    bool inCellFormats = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs") {
            inCellFormats = false;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"numFmt") {
            codes.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                         xml.attributes().value(QLatin1String("formatCode")).toString());
        } else if (xml.name() == u"cellXfs") {
            inCellFormats = true;
        } else if (inCellFormats && xml.name() == u"xf") {
            const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
            styles.push_back(codes.contains(id) ? numberStyleOfCode(codes.value(id))
                                                : builtInNumberStyle(id));
        }
    }
    part.check();
    return styles;
}
