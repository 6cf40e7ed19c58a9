#include "import_support.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

using Rows = QList<QStringList>;

QByteArray text(const QByteArray& shown) {
    return "<table:table-cell office:value-type=\"string\" calcext:value-type=\"string\">"
           "<text:p>" +
           shown + "</text:p></table:table-cell>";
}

QByteArray number(const QByteArray& value, const QByteArray& shown) {
    return "<table:table-cell table:style-name=\"ce1\" office:value-type=\"float\" "
           "office:value=\"" +
           value + "\" calcext:value-type=\"float\"><text:p>" + shown +
           "</text:p></table:table-cell>";
}

QByteArray row(const QByteArray& cells, const QByteArray& attributes = {}) {
    return "<table:table-row table:style-name=\"ro1\" " + attributes + ">" + cells +
           "</table:table-row>";
}

// What a spreadsheet program writes after the last row and column used.
const QByteArray kEmptyTail = "<table:table-row table:style-name=\"ro1\" "
                              "table:number-rows-repeated=\"1048000\"><table:table-cell "
                              "table:number-columns-repeated=\"1024\"/></table:table-row>";

QByteArray sheet(const QByteArray& name, const QByteArray& rows) {
    return "<table:table table:name=\"" + name +
           "\" table:style-name=\"ta1\"><table:table-column table:style-name=\"co1\" "
           "table:number-columns-repeated=\"3\" table:default-cell-style-name=\"Default\"/>" +
           rows + kEmptyTail + "</table:table>";
}

struct SpreadsheetCase {
    const char* name;
    QByteArray tables;
    Rows rows;
    QString sheet = QStringLiteral("Movies");
    QStringList sheets = {QStringLiteral("Movies")};
    QString asked = {};
    ImportLimits limits = {};
};

class OdsRead : public testing::TestWithParam<SpreadsheetCase> {};

TEST_P(OdsRead, GivesTheShownTextOfTheSheet) {
    const SpreadsheetCase& c = GetParam();
    const auto reader = spreadsheetReader(makeSpreadsheet(c.tables), c.limits, c.asked);
    EXPECT_EQ(reader->sheetName(), c.sheet);
    EXPECT_EQ(reader->sheetNames(), c.sheets);
    EXPECT_EQ(numberedRows(*reader), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OdsRead,
    testing::Values(
        SpreadsheetCase{"text",
                        sheet("Movies", row(text("<text:s/>Heat<text:s text:c=\"2\"/>(1995)") +
                                            text("a<text:tab/>b<text:line-break/>c</text:p><text:p>"
                                                 "<text:span text:style-name=\"T1\">two</text:span>"
                                                 " &amp; \n  more"))),
                        {{"1", " Heat  (1995)", "a\tb\nc\ntwo & more"}}},
        SpreadsheetCase{"number_shown_not_its_value",
                        sheet("Movies", row(number("1979", "1979") + number("0.5", "50%") +
                                            "<table:table-cell office:value-type=\"date\" "
                                            "office:date-value=\"1998-07-24\"/>")),
                        {{"1", "1979", "50%", "1998-07-24"}}},
        // The cap holds the cells with data, not the empty run at the end.
        SpreadsheetCase{
            "repeated_cells_and_rows",
            sheet("Movies", row(text("x") + "<table:table-cell/>" +
                                    "<table:table-cell table:number-columns-repeated=\"2\" "
                                    "office:value-type=\"string\"><text:p>y</text:p>"
                                    "</table:table-cell><table:table-cell "
                                    "table:number-columns-repeated=\"16000\"/>",
                                "table:number-rows-repeated=\"2\"") +
                                row("<table:table-cell table:number-columns-repeated=\"5\"/>",
                                    "table:number-rows-repeated=\"3\"") +
                                row(text("z"))),
            {{"1", "x", "", "y", "y"}, {"2", "x", "", "y", "y"}, {"6", "z"}},
            "Movies",
            {"Movies"},
            {},
            ImportLimits{.columns = 4, .cells = 9}},
        SpreadsheetCase{"covered_cell",
                        sheet("Movies", row("<table:table-cell table:number-columns-spanned=\"2\" "
                                            "office:value-type=\"string\"><text:p>Wide</text:p>"
                                            "</table:table-cell><table:covered-table-cell/>" +
                                            text("C"))),
                        {{"1", "Wide", "", "C"}}},
        SpreadsheetCase{"first_sheet_with_data",
                        sheet("Empty", "") + sheet("Old", row(text("Alien"))) +
                            sheet("New", row(text("Heat"))),
                        {{"1", "Alien"}},
                        "Old",
                        {"Old", "New"}},
        SpreadsheetCase{"sheet_by_name",
                        sheet("Old", row(text("Alien"))) + sheet("New", row(text("Heat"))),
                        {{"1", "Heat"}},
                        "New",
                        {"Old", "New"},
                        "New"}),
    [](const testing::TestParamInfo<SpreadsheetCase>& info) {
        return std::string(info.param.name);
    });

TEST(OdsFailure, NamesTheProblem) {
    const struct {
        QByteArray file;
        ImportProblem problem;
        const char* saying;
        ImportLimits limits = {};
        QString sheet = {};
    } cases[] = {
        {makeZip({{"readme.txt", "x"}}), ImportProblem::NotAWorkbook, "no content.xml"},
        {makeZip({{"content.xml", "<office:document-content xmlns:office=\"o\"><office:body>"
                                  "<office:text/></office:body></office:document-content>"}}),
         ImportProblem::NotAWorkbook, "not a spreadsheet"},
        {makeSpreadsheet(sheet("Movies", row(text("x")) + "<table:table-row>")),
         ImportProblem::DamagedWorkbook, "content.xml is damaged"},
        {makeSpreadsheet(sheet("Movies", row(text("x"), "table:number-rows-repeated=\"100\""))),
         ImportProblem::CellCap, "more than 50 cells", ImportLimits{.cells = 50}},
        {makeSpreadsheet(sheet("Movies", row("<table:table-cell table:number-columns-repeated="
                                             "\"2000\"/>" +
                                             text("far")))),
         ImportProblem::TooManyColumns, "column BXY"},
        {makeSpreadsheet(sheet("Old", row(text("x"))) + sheet("New", row(text("y")))),
         ImportProblem::NoSuchSheet,
         "no sheet \"Gone\" with data; its sheets with data are "
         "\"Old\", \"New\"",
         {},
         "Gone"},
    };
    for (const auto& c : cases) {
        const ImportFailure failure =
            failureOf([&] { numberedRows(*spreadsheetReader(c.file, c.limits, c.sheet)); });
        EXPECT_EQ(failure.problem(), c.problem) << failure.description().toStdString();
        EXPECT_TRUE(failure.description().contains(QString::fromUtf8(c.saying)))
            << failure.description().toStdString();
    }
}

} // namespace
