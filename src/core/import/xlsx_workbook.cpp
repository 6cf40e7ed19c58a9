#include "core/import/xlsx_workbook.h"

#include "core/import/import_failure.h"
#include "core/import/ooxml_text.h"

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

std::unique_ptr<QIODevice> openPart(ZipArchive& archive, const QString& name, UnpackBudget& budget,
                                    qint64 partCap) {
    try {
        return archive.openPart(name, budget, partCap);
    } catch (const ZipFailure& failure) {
        throw ImportFailure(ImportProblem::DamagedWorkbook,
                            QStringLiteral("The workbook's part %1 cannot be read: %2.")
                                .arg(name, failure.description()));
    }
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
      m_device(openPart(archive, name, budget, partCap)),
      m_guard(*m_device, limits.xmlDepth, limits.valueBytes), m_xml(&m_guard) {}

void XmlPart::check(const QString& where) const {
    if (!m_guard.problem().isEmpty()) {
        throw ImportFailure(ImportProblem::XmlCap,
                            QStringLiteral("The workbook's part %1 has %2, more than this program "
                                           "reads (a cap against damaged or hostile files).")
                                .arg(m_name, m_guard.problem()));
    }
    if (partCapHit(*m_device)) {
        const bool partCapFirst = partBytesRead(*m_device) > m_partCap;
        throw ImportFailure(
            ImportProblem::UnpackedSizeCap,
            QStringLiteral("The workbook's part %1 unpacks to more than %2, the "
                           "most this program reads (a cap against damaged or "
                           "hostile files).")
                .arg(m_name, sizeText(partCapFirst ? m_partCap : m_limits.unpackedBytes)));
    }
    if (m_xml.hasError()) {
        const QString place = where.isEmpty() ? QString() : QLatin1Char(' ') + where;
        throw ImportFailure(ImportProblem::DamagedWorkbook,
                            QStringLiteral("The workbook's part %1 is damaged%2 (XML line %3, "
                                           "column %4): %5")
                                .arg(m_name, place)
                                .arg(m_xml.lineNumber())
                                .arg(m_xml.columnNumber())
                                .arg(m_xml.errorString()));
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

bool sheetHasData(ZipArchive& archive, const QString& partName, UnpackBudget& budget,
                  const ImportLimits& limits) {
    XmlPart part(archive, partName, budget, limits.unpackedBytes, limits);
    QXmlStreamReader& xml = part.xml();
    xml.setNamespaceProcessing(false); // cells are found by their local names
    bool inCell = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            if (name == u"c") {
                inCell = true;
            } else if (inCell && (name == u"v" || name == u"is" || name == u"f")) {
                return true;
            }
        } else if (token == QXmlStreamReader::EndElement && xml.name() == u"c") {
            inCell = false;
        }
    }
    part.check();
    return false;
}

QString readRichText(QXmlStreamReader& xml, qint64 maxBytes) {
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (xml.name() == u"t") {
                // Most texts are one run: take it whole rather than copy it.
                if (text.isEmpty()) {
                    text = xml.readElementText();
                } else {
                    text += xml.readElementText();
                }
                // A UTF-16 unit stands for at least one byte of the file.
                if (text.size() > maxBytes) {
                    throw ImportFailure(ImportProblem::ValueTooLong,
                                        QStringLiteral("A text of the workbook is longer than "
                                                       "%1, the most this program reads.")
                                            .arg(sizeText(maxBytes)));
                }
            } else if (xml.name() == u"rPh") {
                xml.skipCurrentElement(); // a reading guide, not part of the text
            } else {
                ++depth;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return decodeOoxmlEscapes(text);
}

std::vector<QString> readSharedTexts(ZipArchive& archive, const QString& partName,
                                     UnpackBudget& budget, const ImportLimits& limits) {
    std::vector<QString> texts;
    if (partName.isEmpty() || !archive.contains(partName)) {
        return texts;
    }
    XmlPart part(archive, partName, budget, limits.sharedTextBytes, limits);
    QXmlStreamReader& xml = part.xml();
    xml.setNamespaceProcessing(false); // texts are found by their local names
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si") {
            if (qint64(texts.size()) >= limits.cells) {
                throw ImportFailure(ImportProblem::CellCap,
                                    QStringLiteral("The workbook has more than %1 shared texts, "
                                                   "the most this program reads (a cap against "
                                                   "damaged or hostile files).")
                                        .arg(limits.cells));
            }
            texts.push_back(readRichText(xml, limits.valueBytes));
        }
    }
    part.check();
    return texts;
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
