#pragma once

#include "core/formats/zip_archive.h"
#include "core/import/import_limits.h"
#include "core/import/number_display.h"
#include "core/import/xml_guard.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QXmlStreamReader>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One worksheet of a workbook.
struct WorkbookSheet {
    QString name;
    QString part; // "xl/worksheets/sheet1.xml"
};

// Where a workbook keeps its sheets and what they need.
struct WorkbookLayout {
    std::vector<WorkbookSheet> sheets; // in tab order
    QString sheetName;                 // the first sheet's
    QString sheetPart;
    QString sharedTextsPart; // empty when the workbook has none
    QString stylesPart;      // empty when the workbook has none
    bool date1904 = false;
};

// The workbook's zip container, opened for reading. Fail (ImportFailure)
// when the file is not a zip container or is damaged.
std::unique_ptr<ZipArchive> openWorkbookFile(const QString& path);
std::unique_ptr<ZipArchive> openWorkbookBytes(QByteArray bytes);

// One of the small parts of a workbook (its list of sheets, relationships,
// styles) being read as XML, with the failures of reading it turned into
// ImportFailure. Its bytes reach the XML reader through an XmlGuard, so a
// part built to exhaust memory is refused. The large parts are a
// StreamedPart.
class XmlPart {
public:
    XmlPart(ZipArchive& archive, const QString& name, UnpackBudget& budget, qint64 partCap,
            const ImportLimits& limits);

    QXmlStreamReader& xml() { return m_xml; }
    qint64 bytesRead() const { return partBytesRead(*m_device); }
    // Fails when the XML is damaged or a cap was hit; `where` adds a place to
    // the message ("after row 12").
    void check(const QString& where = {}) const;

private:
    QString m_name;
    qint64 m_partCap;
    ImportLimits m_limits;
    std::unique_ptr<QIODevice> m_device;
    XmlGuard m_guard;
    QXmlStreamReader m_xml;
};

// Finds the worksheets (in tab order) and the workbook's shared texts,
// styles and date system. Fails when the archive is no .xlsx workbook or
// has no sheet.
WorkbookLayout readWorkbookLayout(ZipArchive& archive, UnpackBudget& budget,
                                  const ImportLimits& limits);

// A 0-based column as a sheet names it: 0 is "A", 26 is "AA".
QString columnLetters(qint64 column);

// Whether the sheet's part holds a cell with a value or a formula; reads
// only up to the first one.
bool sheetHasData(ZipArchive& archive, const QString& part, UnpackBudget& budget,
                  const ImportLimits& limits);

// The workbook's table of shared texts, as the cells that refer to it show them.
std::vector<QString> readSharedTexts(ZipArchive& archive, const QString& part, UnpackBudget& budget,
                                     const ImportLimits& limits);

// The number style of each cell format (index = a cell's "s" attribute).
std::vector<NumberStyle> readCellStyles(ZipArchive& archive, const QString& part,
                                        UnpackBudget& budget, const ImportLimits& limits);

// The text of a rich text element (<si> or <is>), from the events inside
// it: its <t> texts joined, phonetic guides left out, escapes decoded.
class RichText {
public:
    explicit RichText(qint64 maxBytes) : m_maxBytes(maxBytes) {}

    // At the element's start.
    void begin();
    // Until the element's own end.
    bool active() const { return m_depth > 0; }
    void startElement(std::string_view name);
    // True at the element's own end. Fails (ValueTooLong) when the joined
    // text grows beyond maxBytes bytes (the one value a row holds most of).
    bool endElement();
    void text(std::string_view text);
    // The text, once the element has ended.
    QString take() const;

private:
    qint64 m_maxBytes;
    std::string m_text; // UTF-8
    int m_depth = 0;    // 1 right inside the element
    bool m_inText = false;
    int m_skipped = 0; // depth inside a reading guide, or an element inside a <t>
};
