// The streamed reading of the large parts: a sheet, the shared texts and an
// OpenDocument content refuse declared entities, and values read whole
// however the part's chunks fall across them.
#include "import_support.h"

#include <gtest/gtest.h>

namespace {

using Rows = QList<QStringList>;

const QByteArray kRelations = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// A workbook of one sheet and its shared texts, both parts written whole.
QByteArray workbookOfParts(const QByteArray& sheet, const QByteArray& sharedTexts) {
    return makeZip(
        {{"xl/workbook.xml", "<workbook xmlns:r=\"" + kRelations +
                                 "\"><sheets><sheet name=\"Movies\" r:id=\"rId1\"/></sheets>"
                                 "</workbook>"},
         {"xl/_rels/workbook.xml.rels",
          "<Relationships><Relationship Id=\"rId1\" Type=\"" + kRelations +
              "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"" +
              kRelations + "/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
         {"xl/worksheets/sheet1.xml", sheet},
         {"xl/sharedStrings.xml", sharedTexts}});
}

// Entities that expand a thousand million times.
QByteArray laughs(const QByteArray& root) {
    QByteArray declarations = "<!ENTITY l0 \"ha\">";
    for (int i = 1; i < 10; ++i) {
        const QByteArray previous = "&l" + QByteArray::number(i - 1) + ";";
        declarations +=
            "<!ENTITY l" + QByteArray::number(i) + " \"" + previous.repeated(10) + "\">";
    }
    return "<?xml version=\"1.0\"?><!DOCTYPE " + root + " [" + declarations + "]>";
}

const QByteArray kSheetOfShared =
    "<worksheet><sheetData><row r=\"1\"><c t=\"s\"><v>0</v></c></row></sheetData></worksheet>";

TEST(SheetXml, DeclaredEntitiesAreRefused) {
    const struct {
        const char* name;
        QByteArray file;
        bool spreadsheet = false;
    } cases[] = {
        {"sheet",
         workbookOfParts(laughs("worksheet") + "<worksheet><sheetData><row><c t=\"inlineStr\"><is>"
                                               "<t>&l9;</t></is></c></row></sheetData></worksheet>",
                         "<sst/>")},
        {"shared texts",
         workbookOfParts(kSheetOfShared, laughs("sst") + "<sst><si><t>&l9;</t></si></sst>")},
        {"external",
         workbookOfParts(kSheetOfShared, "<!DOCTYPE sst [<!ENTITY x SYSTEM \"/etc/hostname\">]>"
                                         "<sst><si><t>&x;</t></si></sst>")},
        {"content",
         makeZip({{"content.xml",
                   laughs("office:document-content") +
                       "<office:document-content><office:body><office:spreadsheet><table:table "
                       "table:name=\"Movies\"><table:table-row><table:table-cell><text:p>&l9;"
                       "</text:p></table:table-cell></table:table-row></table:table>"
                       "</office:spreadsheet></office:body></office:document-content>"}}),
         true},
    };
    for (const auto& c : cases) {
        const ImportFailure failure = failureOf([&] {
            numberedRows(c.spreadsheet ? *spreadsheetReader(c.file) : *workbookReader(c.file));
        });
        EXPECT_EQ(failure.problem(), ImportProblem::DamagedWorkbook)
            << c.name << ": " << failure.description().toStdString();
    }
}

// A value longer than a chunk of the part, of two- and four-byte
// characters, so that chunks end inside it and inside its characters.
QString longValue() {
    return QString::fromUtf8("é🎬").repeated(12'000) + QStringLiteral("end");
}

TEST(SheetXml, ReadsValuesAcrossChunks) {
    const QByteArray value = longValue().toUtf8();
    for (int shift = 0; shift < 6; ++shift) {
        const QByteArray pad(shift, ' ');
        const QByteArray inlineCell = "<c t=\"inlineStr\"><is><r><t>" + value + "</t></r></is></c>";
        const QByteArray formulaCell = "<c t=\"str\"><f>A1</f><v>" + value + "</v></c>";
        const QByteArray sheet = "<row r=\"1\">" + pad + inlineCell + formulaCell +
                                 "<c t=\"s\"><v>0</v></c></row><row r=\"2\"><c><v>7</v></c></row>";
        const auto reader = workbookReader(makeWorkbook(sheet, "<si><t>" + value + "</t></si>"));
        EXPECT_EQ(numberedRows(*reader),
                  (Rows{{"1", longValue(), longValue(), longValue()}, {"2", "7"}}))
            << "shift " << shift;

        const QByteArray cell = "<table:table-cell office:value-type=\"string\"><text:p>" + value +
                                "</text:p></table:table-cell>";
        const auto spreadsheet = spreadsheetReader(
            makeSpreadsheet("<table:table table:name=\"Movies\">" + pad + "<table:table-row>" +
                            cell + cell + "</table:table-row></table:table>"));
        EXPECT_EQ(numberedRows(*spreadsheet), (Rows{{"1", longValue(), longValue()}}))
            << "shift " << shift;
    }
}

TEST(SheetXml, ALongTagIsRefused) {
    const QByteArray sheet =
        "<row r=\"1\" spans=\"" + QByteArray(3000, '1') + "\"><c><v>1</v></c></row>";
    const ImportFailure failure = failureOf(
        [&] { numberedRows(*workbookReader(makeWorkbook(sheet), {.valueBytes = 1000})); });
    EXPECT_EQ(failure.problem(), ImportProblem::XmlCap);
    EXPECT_TRUE(failure.description().contains("markup or text longer than 1000 bytes"))
        << failure.description().toStdString();
}

} // namespace
