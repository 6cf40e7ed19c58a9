#include "core/import/text_encoding.h"
#include "core/import/text_table_reader.h"
#include "import_support.h"

#include <gtest/gtest.h>

namespace {

using Rows = QList<QStringList>;

struct ReadCase {
    const char* name;
    QByteArray input;
    Rows rows; // each row's line number first
    QString format = QStringLiteral("CSV");
};

class TextTableRead : public testing::TestWithParam<ReadCase> {};

TEST_P(TextTableRead, GivesTheRowsWithTheirLines) {
    const auto reader = textReader(GetParam().input);
    EXPECT_EQ(reader->formatName(), GetParam().format);
    EXPECT_EQ(numberedRows(*reader), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextTableRead,
    testing::Values(
        ReadCase{
            "comma", "title,year\nHeat,1995\n", {{"1", "title", "year"}, {"2", "Heat", "1995"}}},
        ReadCase{"semicolon_without_last_line_break",
                 "Title;Year\nA, B;1",
                 {{"1", "Title", "Year"}, {"2", "A, B", "1"}},
                 "CSV (semicolon-separated)"},
        ReadCase{"quoted_separators_quotes_and_line_breaks",
                 "title,cast\r\n\"Heat, the\",\"a \"\"b\"\"\r\nc\"\r\n\"\",\"\n\"\r\nX,Y",
                 {{"1", "title", "cast"},
                  {"2", "Heat, the", "a \"b\"\r\nc"},
                  {"4", "", "\n"},
                  {"6", "X", "Y"}}},
        ReadCase{"tab_separated_with_quotes",
                 "title\tyear\n\"A\tB\"\t1\n",
                 {{"1", "title", "year"}, {"2", "A\tB", "1"}},
                 "tab-separated text"},
        ReadCase{"byte_order_mark_and_cr_line_ends",
                 "\xEF\xBB\xBFtitle\rA\r\rB",
                 {{"1", "title"}, {"2", "A"}, {"3", ""}, {"4", "B"}}},
        // Only the file's own mark goes: one starting a value is the value's.
        ReadCase{"byte_order_mark_in_values_kept",
                 "\xEF\xBB\xBFtitle,y\n\xEF\xBB\xBF\xEF\xBB\xBF,\"\xEF\xBB\xBF"
                 "A\"\n",
                 {{"1", "title", "y"},
                  {"2", QStringLiteral("\uFEFF\uFEFF"), QStringLiteral("\uFEFFA")}}},
        ReadCase{"rows_of_different_widths",
                 "title,y,z\n\xC3\xA9t\xC3\xA9,1\nA,B,C,D\nx\n",
                 {{"1", "title", "y", "z"},
                  {"2", QStringLiteral("\u00e9t\u00e9"), "1"},
                  {"3", "A", "B", "C", "D"},
                  {"4", "x"}}},
        ReadCase{"lenient_quotes_and_blanks_kept",
                 "title,y\n5'10\" man ,\"A\"B\n  x  ,\n",
                 {{"1", "title", "y"}, {"2", "5'10\" man ", "AB"}, {"3", "  x  ", ""}}},
        ReadCase{"clipboard_copy",
                 "12\tHeat        \t1995\tCrime\tAl Pacino\tMichael Mann\t170\tR\tWarner\r\n"
                 "3 \t\"Weird\" Al   \t\t\t\t\t\t\tX\r\n",
                 {{"1", "12", "Heat", "1995", "Crime", "Al Pacino", "Michael Mann", "170", "R",
                   "Warner"},
                  {"2", "3", "\"Weird\" Al", "", "", "", "", "", "", "X"}},
                 "the program's clipboard copy"},
        ReadCase{"tab_separated_header_is_no_clipboard_copy",
                 "1\ttitle\t3\t4\t5\t6\t7\t8\t9\n",
                 {{"1", "1", "title", "3", "4", "5", "6", "7", "8", "9"}},
                 "tab-separated text"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// A row the caller keeps stays as it was read while the next rows are read.
TEST(TextTableRows, ARowKeptByTheCallerIsNotChangedByTheNextRead) {
    const auto reader = textReader("title,y\nHeat,1995\nAlien,1979\n");
    SourceRow row;
    ASSERT_TRUE(reader->readRow(row));
    const SourceRow kept = row;
    ASSERT_TRUE(reader->readRow(row));
    ASSERT_TRUE(reader->readRow(row));
    EXPECT_EQ(kept.cells, (QStringList{"title", "y"}));
    EXPECT_EQ(row.cells, (QStringList{"Alien", "1979"}));
    EXPECT_FALSE(reader->readRow(row));
}

struct FailureCase {
    const char* name;
    QByteArray input;
    ImportProblem problem;
    qint64 line;
    ImportLimits limits = {};
};

class TextTableFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(TextTableFailure, NamesTheProblemAndLine) {
    const FailureCase& c = GetParam();
    const ImportFailure failure = failureOf([&] { numberedRows(*textReader(c.input, c.limits)); });
    EXPECT_EQ(failure.problem(), c.problem) << failure.description().toStdString();
    EXPECT_EQ(failure.line(), c.line);
    if (c.line > 0) {
        EXPECT_TRUE(failure.description().startsWith(QStringLiteral("Line %1: ").arg(c.line)))
            << failure.description().toStdString();
    }
}

QByteArray binaryBytes() {
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i) {
        bytes += char((i * 7919) % 256);
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextTableFailure,
    testing::Values(FailureCase{"unterminated_quote", "title\nA\n\"B,\nC\n",
                                ImportProblem::UnterminatedQuote, 3},
                    FailureCase{"nul_in_a_value", QByteArray("title\nA\nB\0C\n", 11),
                                ImportProblem::NulInValue, 3},
                    FailureCase{"a_million_columns", QByteArray(1'000'000, ','),
                                ImportProblem::TooManyColumns, 1},
                    FailureCase{"binary", binaryBytes(), ImportProblem::NotText, 0},
                    FailureCase{"empty", "", ImportProblem::Empty, 0},
                    FailureCase{"only_blanks", "\xEF\xBB\xBF \r\n\t\n", ImportProblem::Empty, 0},
                    FailureCase{"utf16", "\xFF\xFEt\0i\0", ImportProblem::NotText, 0},
                    FailureCase{"old_excel", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1",
                                ImportProblem::NotText, 0},
                    FailureCase{"value_too_long", "title\n\"aaaaaaaaaaaaaaaaaaaa",
                                ImportProblem::ValueTooLong, 2, ImportLimits{.valueBytes = 10}},
                    FailureCase{"file_too_large", "title\nA\nB\nC\n", ImportProblem::TooLarge, 0,
                                ImportLimits{.fileBytes = 5}}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(TextTableEncoding, TextThatIsNotUtf8IsReadAsWindows1252AndSaysSo) {
    const auto latin = textReader("title\nCaf\xE9 \x80 \x9C\n");
    EXPECT_EQ(numberedRows(*latin).back(), (QStringList{"2", QString::fromUtf8("Café € œ")}));
    EXPECT_TRUE(latin->encodingNote().contains(QStringLiteral("Windows-1252")));

    const auto utf8 = textReader("title\nCaf\xC3\xA9 \xF0\x9F\x8E\xAC\n");
    EXPECT_EQ(numberedRows(*utf8).back(), (QStringList{"2", QString::fromUtf8("Café 🎬")}));
    EXPECT_TRUE(utf8->encodingNote().isEmpty());
}

TEST(Utf8Check, ATextCutAnywhereIsJudgedAsAWhole) {
    const QByteArray valid = QStringLiteral("a é € 🎬 z").toUtf8();
    const QByteArray cutShort = valid.left(valid.size() - 3) + "z"; // 🎬 missing a byte
    for (qsizetype cut = 0; cut <= valid.size(); ++cut) {
        Utf8Check whole;
        whole.add(QByteArrayView(valid).first(cut));
        whole.add(QByteArrayView(valid).sliced(cut));
        EXPECT_TRUE(whole.finish()) << cut;
    }
    for (qsizetype cut = 0; cut <= cutShort.size(); ++cut) {
        Utf8Check broken;
        broken.add(QByteArrayView(cutShort).first(cut));
        broken.add(QByteArrayView(cutShort).sliced(cut));
        EXPECT_FALSE(broken.finish()) << cut;
    }
    Utf8Check unfinished;
    unfinished.add(valid.left(valid.size() - 4));
    EXPECT_FALSE(unfinished.finish());
}

} // namespace
