#include "workbook_builder.h"

#include <zip.h>

QByteArray makeZip(const std::vector<std::pair<QString, QByteArray>>& parts) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    for (const auto& [name, bytes] : parts) {
        zip_source_t* part =
            zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        zip_file_add(archive, name.toUtf8().constData(), part, ZIP_FL_OVERWRITE);
    }
    zip_close(archive);
    QByteArray zipped;
    if (zip_source_open(target) == 0) {
        char buffer[8192];
        zip_int64_t got = 0;
        while ((got = zip_source_read(target, buffer, sizeof buffer)) > 0) {
            zipped.append(buffer, got);
        }
        zip_source_close(target);
    }
    zip_source_free(target);
    zip_error_fini(&error);
    return zipped;
}

QByteArray makeWorkbook(const QByteArray& sheetData, const QByteArray& sharedTexts,
                        const QByteArray& styles, const QByteArray& workbookAttributes) {
    const QByteArray ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    std::vector<std::pair<QString, QByteArray>> parts = {
        {"[Content_Types].xml", "<?xml version=\"1.0\"?><Types/>"},
        {"xl/workbook.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook " + ns +
                                " xmlns:r=\"" + rel + "\"><workbookPr " + workbookAttributes +
                                "/><sheets><sheet name=\"Movies\" sheetId=\"1\" state=\"visible\" "
                                "r:id=\"rId7\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\"?><Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" +
             rel +
             "/styles\" Target=\"styles.xml\"/>"
             "<Relationship Id=\"rId7\" Type=\"" +
             rel +
             "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
             "<Relationship Id=\"rId3\" Type=\"" +
             rel +
             "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
             "</Relationships>"},
        {"xl/worksheets/sheet1.xml", "<?xml version=\"1.0\"?><worksheet " + ns + "><sheetData>" +
                                         sheetData + "</sheetData></worksheet>"},
        {"xl/sharedStrings.xml",
         "<?xml version=\"1.0\"?><sst " + ns + ">" + sharedTexts + "</sst>"},
        {"xl/styles.xml",
         "<?xml version=\"1.0\"?><styleSheet " + ns + ">" + styles + "</styleSheet>"},
    };
    return makeZip(parts);
}

QByteArray makeWorkbookOfSheets(const std::vector<std::pair<QByteArray, QByteArray>>& sheets) {
    const QByteArray ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    QByteArray entries;
    QByteArray relations;
    std::vector<std::pair<QString, QByteArray>> parts;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const QByteArray n = QByteArray::number(qulonglong(i + 1));
        entries +=
            "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        relations += "<Relationship Id=\"rId" + n + "\" Type=\"" + rel +
                     "/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
        parts.emplace_back("xl/worksheets/sheet" + n + ".xml", "<worksheet " + ns + "><sheetData>" +
                                                                   sheets[i].second +
                                                                   "</sheetData></worksheet>");
    }
    parts.emplace_back("xl/workbook.xml", "<workbook " + ns + " xmlns:r=\"" + rel + "\"><sheets>" +
                                              entries + "</sheets></workbook>");
    parts.emplace_back("xl/_rels/workbook.xml.rels",
                       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                       "relationships\">" +
                           relations + "</Relationships>");
    return makeZip(parts);
}

QByteArray makeSpreadsheet(const QByteArray& tables) {
    const QByteArray content =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\" "
        "office:version=\"1.3\"><office:automatic-styles/><office:body><office:spreadsheet>"
        "<table:calculation-settings table:automatic-find-labels=\"false\"/>" +
        tables +
        "<table:named-expressions/></office:spreadsheet></office:body></office:document-content>";
    return makeZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                    {"META-INF/manifest.xml", "<manifest:manifest/>"},
                    {"content.xml", content}});
}
