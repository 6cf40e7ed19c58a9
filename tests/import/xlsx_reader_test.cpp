#include "core/import/background_row_reader.h"
#include "core/import/number_display.h"
#include "import_support.h"

#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <xlsxwriter.h>

namespace {

using Rows = QList<QStringList>;

// As a spreadsheet program writes it: shared texts with rich runs and a
// reading guide, a format of its own for dates, cells and rows without
// references, booleans, formula results and an inline text with escapes.
const QByteArray kSharedTexts =
    "<si><t>Title</t></si><si><t xml:space=\"preserve\"> Year </t></si>"
    "<si><r><rPr><b/></rPr><t>Heat</t></r><r><t xml:space=\"preserve\"> (1995)</t></r>"
    "<rPh sb=\"0\" eb=\"1\"><t>HIDDEN</t></rPh></si><si><t>Added</t></si>";
const QByteArray kStyles =
    "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"YYYY\\-MM\\-DD\"/></numFmts>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"14\"/></cellStyleXfs>"
    "<cellXfs count=\"4\"><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"2\"/>"
    "<xf numFmtId=\"22\"/></cellXfs>";

TEST(XlsxReader, ReadsTextsNumbersAndDatesAsASpreadsheetShowsThem) {
    const QByteArray sheet =
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
        "<c r=\"D1\" t=\"s\"><v>3</v></c></row>"
        "<row r=\"3\"><c r=\"A3\" t=\"s\"><v>2</v></c><c r=\"B3\" s=\"0\"><v>1995</v></c>"
        "<c r=\"C3\" s=\"2\"><v>7.5</v></c><c r=\"D3\" s=\"1\"><v>36000</v></c></row>"
        "<row><c t=\"inlineStr\"><is><t>cr_x000D_lf&#10;_x005F_x0041_</t></is></c><c t=\"b\">"
        "<v>1</v></c><c t=\"str\"><f>A1</f><v>formula</v></c><c s=\"3\"><v>36000.5</v></c></row>"
        "<row r=\"5\"><c r=\"B5\" t=\"e\"><v>#N/A</v></c><c r=\"C5\"><v>0.30000000000000004</v>"
        "</c><c r=\"D5\" t=\"d\"><v>2001-05-04T00:00:00</v></c></row>";
    const auto reader = workbookReader(makeWorkbook(sheet, kSharedTexts, kStyles));
    EXPECT_EQ(reader->formatName(), QStringLiteral("workbook (sheet \"Movies\")"));
    EXPECT_EQ(numberedRows(*reader),
              (Rows{{"1", "Title", " Year ", "", "Added"},
                    {"3", "Heat (1995)", "1995", "7.50", "1998-07-24"},
                    {"4", "cr\rlf\n_x0041_", "TRUE", "formula", "1998-07-24 12:00:00"},
                    {"5", "", "#N/A", "0.3", "2001-05-04"}}));
}

TEST(XlsxReader, ReadsTheDateSystemOf1904AndPrefixedElements) {
    const QByteArray sheet = "<x:row r=\"2\" xmlns:x=\"http://schemas.openxmlformats.org/"
                             "spreadsheetml/2006/main\"><x:c r=\"A2\" s=\"1\"><x:v>36000</x:v>"
                             "</x:c></x:row>";
    const auto reader =
        workbookReader(makeWorkbook(sheet, kSharedTexts, kStyles, "date1904=\"1\""));
    EXPECT_EQ(numberedRows(*reader), (Rows{{"2", "2002-07-25"}}));
}

TEST(XlsxReader, ReadsPrefixedSharedTexts) {
    const QByteArray texts = "<x:si xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/"
                             "2006/main\"><x:r><x:t>Heat</x:t></x:r><x:r><x:t "
                             "xml:space=\"preserve\"> (1995)</x:t></x:r></x:si>";
    const QByteArray sheet = "<row r=\"1\"><c r=\"B1\" t=\"s\"><v>0</v></c></row>";
    const auto reader = workbookReader(makeWorkbook(sheet, texts, kStyles));
    EXPECT_EQ(numberedRows(*reader), (Rows{{"1", "", "Heat (1995)"}}));
}

TEST(XlsxReader, ReadsAWorkbookWrittenWithTheWritingLibrary) {
    QTemporaryDir folder;
    const QByteArray path = QFile::encodeName(folder.filePath("written.xlsx"));
    lxw_workbook* book = workbook_new(path.constData()); // shared texts, not inline ones
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Films");
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "dd/mm/yyyy");
    worksheet_write_string(sheet, 0, 0, "Title", nullptr);
    worksheet_write_string(sheet, 0, 1, "Released", nullptr);
    worksheet_write_string(sheet, 1, 0, "Ran \xF0\x9F\x8E\xAC \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D",
                           nullptr);
    worksheet_write_number(sheet, 1, 1, 36000, date);
    worksheet_write_number(sheet, 1, 2, 120, nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
    QFile file(folder.filePath("written.xlsx"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto reader = workbookReader(file.readAll());
    EXPECT_EQ(reader->formatName(), QStringLiteral("workbook (sheet \"Films\")"));
    EXPECT_EQ(numberedRows(*reader),
              (Rows{{"1", "Title", "Released"},
                    {"2", QString::fromUtf8("Ran 🎬 שלום"), "1998-07-24", "120"}}));
}

// Whole numbers in the general format keep their digits; those a
// spreadsheet shows otherwise are converted.
TEST(XlsxReader, ShowsWholeNumbersOfTheGeneralFormatAsTheirDigits) {
    const QByteArray sheet = "<row r=\"1\"><c><v>1995</v></c><c><v>0</v></c><c><v>007</v></c>"
                             "<c><v>123456789012345</v></c><c><v>1234567890123456</v></c>"
                             "<c><v>-5</v></c><c><v> 12</v></c><c s=\"2\"><v>7</v></c>"
                             "<c s=\"1\"><v>36000</v></c></row>";
    const auto reader = workbookReader(makeWorkbook(sheet, kSharedTexts, kStyles));
    EXPECT_EQ(numberedRows(*reader),
              (Rows{{"1", "1995", "0", "7", "123456789012345", "1.23456789012346E+15", "-5", "12",
                     "7.00", "1998-07-24"}}));
}

struct WorkbookFailure {
    const char* name;
    QByteArray workbook;
    ImportProblem problem;
    qint64 row;
    const char* saying;
    ImportLimits limits = {};
};

class XlsxFailure : public testing::TestWithParam<WorkbookFailure> {};

TEST_P(XlsxFailure, NamesTheProblem) {
    const WorkbookFailure& c = GetParam();
    const ImportFailure failure =
        failureOf([&] { numberedRows(*workbookReader(c.workbook, c.limits)); });
    EXPECT_EQ(failure.problem(), c.problem) << failure.description().toStdString();
    EXPECT_EQ(failure.line(), c.row);
    EXPECT_TRUE(failure.description().contains(QString::fromUtf8(c.saying)))
        << failure.description().toStdString();
}

// Read on the reading thread, a workbook gives the same rows and then the
// same failure as read directly.
TEST_P(XlsxFailure, ComesThroughTheReadingThreadAfterTheSameRows) {
    const WorkbookFailure& c = GetParam();
    std::array<Rows, 2> rows;
    std::array<QString, 2> said;
    for (const bool threaded : {false, true}) {
        said[threaded] =
            failureOf([&] {
                std::unique_ptr<RowReader> reader = workbookReader(c.workbook, c.limits);
                if (threaded) {
                    reader = std::make_unique<BackgroundRowReader>(std::move(reader));
                }
                SourceRow row;
                while (reader->readRow(row)) {
                    rows[threaded] << (QStringList{QString::number(row.number)} + row.cells);
                }
            }).description();
    }
    EXPECT_EQ(rows[1], rows[0]);
    EXPECT_EQ(said[1], said[0]);
}

QByteArray titleRow() {
    return "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>title</t></is></c></row>";
}

// Rows of the same few cells, which pack a hundredfold.
QByteArray manyRows(int count) {
    QByteArray rows;
    for (int r = 2; r < count + 2; ++r) {
        rows += "<row><c t=\"inlineStr\"><is><t>Movie</t></is></c><c><v>1</v></c></row>";
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XlsxFailure,
    testing::Values(
        WorkbookFailure{"no_sheet",
                        makeZip({{"xl/workbook.xml", "<workbook><sheets/></workbook>"}}),
                        ImportProblem::NoSheet, 0, "no sheet"},
        WorkbookFailure{"not_a_workbook", makeZip({{"word/document.xml", "<w/>"}}),
                        ImportProblem::NotAWorkbook, 0, "no xl/workbook.xml"},
        WorkbookFailure{"opendocument", makeZip({{"mimetype", "x"}, {"content.xml", "<o/>"}}),
                        ImportProblem::NotAWorkbook, 0, ".ods"},
        WorkbookFailure{"not_zip", "PK\x03\x04 nothing more", ImportProblem::NotAWorkbook, 0,
                        "zip"},
        WorkbookFailure{"broken_xml",
                        makeWorkbook(titleRow() + "<row r=\"2\"><c r=\"A2\"><v>1</c>"),
                        ImportProblem::DamagedWorkbook, 0, "after row 2"},
        WorkbookFailure{"shared_text_out_of_range",
                        makeWorkbook("<row r=\"4\"><c t=\"s\"><v>9</v></c></row>", kSharedTexts),
                        ImportProblem::DamagedWorkbook, 4, "shared text 9"},
        WorkbookFailure{"nul_in_a_value",
                        makeWorkbook(titleRow() + "<row r=\"6\"><c t=\"inlineStr\"><is><t>a_x0000_"
                                                  "</t></is></c></row>"),
                        ImportProblem::NulInValue, 6, "NUL"},
        WorkbookFailure{"value_beyond_the_columns",
                        makeWorkbook(titleRow() + "<row r=\"2\"><c r=\"ZZZ2\"><v>1</v></c></row>"),
                        ImportProblem::TooManyColumns, 2, "column ZZZ"},
        WorkbookFailure{"cell_cap", makeWorkbook(titleRow() + manyRows(10)), ImportProblem::CellCap,
                        4, "more than 5 cells", ImportLimits{.cells = 5}},
        WorkbookFailure{
            "nesting_cap",
            makeWorkbook(titleRow() + "<row>" + QByteArray("<x>").repeated(30) + "</row>"),
            ImportProblem::XmlCap, 0, "nested more than 20 deep", ImportLimits{.xmlDepth = 20}},
        // Blanks between rows, and a value split by comments, are one run of text each.
        WorkbookFailure{"text_run_cap", makeWorkbook(titleRow() + QByteArray(2000, ' ')),
                        ImportProblem::XmlCap, 0, "text longer than 1000 bytes",
                        ImportLimits{.valueBytes = 1000}},
        WorkbookFailure{"split_value_cap",
                        makeWorkbook("<row><c><v>" + QByteArray("12345<!---->").repeated(300) +
                                     "</v></c></row>"),
                        ImportProblem::XmlCap, 0, "text longer than 1000 bytes",
                        ImportLimits{.valueBytes = 1000}},
        WorkbookFailure{"rich_text_cap",
                        makeWorkbook("<row><c t=\"inlineStr\"><is>" +
                                     QByteArray("<t>" + QByteArray(600, 'a') + "</t>").repeated(2) +
                                     "</is></c></row>"),
                        ImportProblem::ValueTooLong, 0, "longer than 1000 bytes",
                        ImportLimits{.valueBytes = 1000}},
        WorkbookFailure{"unpacked_size_cap", makeWorkbook(titleRow(), QByteArray(1000, ' ')),
                        ImportProblem::UnpackedSizeCap, 0,
                        "xl/sharedStrings.xml unpacks to more than 100 bytes",
                        ImportLimits{.sharedTextBytes = 100}}),
    [](const testing::TestParamInfo<WorkbookFailure>& info) {
        return std::string(info.param.name);
    });

TEST(XlsxFailure, AZipBombIsRefusedBeforeItIsUnpacked) {
    // 40 MB of blanks packs into well under a megabyte.
    const QByteArray bomb = makeWorkbook(titleRow() + QByteArray(40 << 20, ' '));
    ASSERT_LT(bomb.size(), 1 << 20);
    const ImportFailure failure =
        failureOf([&] { workbookReader(bomb, ImportLimits{.unpackedBytes = 10 << 20}); });
    EXPECT_EQ(failure.problem(), ImportProblem::UnpackedSizeCap);
    EXPECT_TRUE(failure.description().contains("40 MB, more than the 10 MB"))
        << failure.description().toStdString();
}

struct Shown {
    double value;
    NumberStyle style;
    const char* text;
};

TEST(NumberDisplay, ShowsNumbersAsASpreadsheetDoes) {
    const Shown cases[] = {
        {1999, builtInNumberStyle(0), "1999"},
        {-3, {}, "-3"},
        {1e20, {}, "1E+20"},
        {3.14159, builtInNumberStyle(2), "3.14"},
        {1234567.891, builtInNumberStyle(4), "1,234,567.89"},
        {0.25, builtInNumberStyle(9), "25%"},
        {59, builtInNumberStyle(14), "1900-02-28"},
        {60, builtInNumberStyle(14), "1900-02-29"},
        {61, builtInNumberStyle(14), "1900-03-01"},
        {0.75, builtInNumberStyle(21), "18:00:00"},
        {36000.99999999, builtInNumberStyle(22), "1998-07-25 00:00:00"},
        {1.5, numberStyleOfCode("[h]:mm:ss"), "36:00:00"},
        {36000, numberStyleOfCode("d\\.m\\.yyyy;@"), "1998-07-24"},
        {36000, numberStyleOfCode("[$-409]mmm d, yyyy"), "1998-07-24"},
        {95, numberStyleOfCode("0.0\" min\""), "95.0"},
        {2.6, numberStyleOfCode("[Red]#,##0;-#,##0"), "3"},
        {-1, builtInNumberStyle(14), "-1"},
    };
    for (const Shown& c : cases) {
        EXPECT_EQ(displayNumber(c.value, c.style, false), QString::fromUtf8(c.text)) << c.text;
    }
}

} // namespace
