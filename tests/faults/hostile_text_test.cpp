// Hostile text in every field, through add, the list, edit, the clipboard
// and the workbook: it comes back exactly, or it is refused plainly and the
// catalogue is left as it was.
#include "core/spreadsheet/spreadsheet_automation.h"
#include "fault_fixture.h"
#include "support/xlsx_reader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

namespace {

struct Hostile {
    const char* name;
    QString value;
    bool storable;
};

const Hostile kHostile[] = {
    {"apostrophe", QStringLiteral("'"), true},
    {"doubled_apostrophes", QStringLiteral("O''Brien's ''"), true},
    {"brackets", QStringLiteral("[x] [dvd]"), true},
    {"comment_and_semicolon", QStringLiteral("a -- b; c"), true},
    {"injection", QStringLiteral("x'); delete from dvd; --"), true},
    {"double_quotes", QStringLiteral("\"Quoted\" \""), true},
    {"line_breaks_and_tab", QStringLiteral("one\r\ntwo\nthree\tfour"), true},
    {"emoji", QStringLiteral("🎬 Movie night 🍿"), true},
    {"right_to_left", QStringLiteral("\u200Fשלום\u200E end"), true},
    {"percent_patterns", QStringLiteral("%1 %2 %n %%"), true},
    {"lone_surrogate", QStringLiteral("a") + QChar(0xD83C) + QStringLiteral("b"), false},
    {"embedded_nul", QStringLiteral("a") + QChar(0) + QStringLiteral("'); delete from dvd; --"),
     false},
};

class HostileText : public FaultTest, public ::testing::WithParamInterface<std::size_t> {
protected:
    const QString& value() const { return kHostile[GetParam()].value; }
    ListView& list() { return h.list(); }
    QStringList storedFields() {
        return TempCatalogue::rows(h.catalogue(),
                                   QStringLiteral("title,year,genre,[cast],director,runtime,"
                                                  "rating,studio"));
    }
};

TEST_P(HostileText, RoundTripsOrIsRefused) {
    writeCatalogue(1);
    h.start();
    const QByteArray before = TempCatalogue::checksum(h.catalogue());
    const QStringList eight(8, value());
    const bool keptOpen = addThroughEditor(eight);

    if (!kHostile[GetParam()].storable) {
        EXPECT_TRUE(keptOpen);
        ASSERT_EQ(reportCount(), 1);
        EXPECT_TRUE(h.boxes.errorReports()[0].text.contains(QStringLiteral("cannot be stored")));
        EXPECT_EQ(TempCatalogue::checksum(h.catalogue()), before);
        return;
    }
    ASSERT_FALSE(keptOpen);
    ASSERT_EQ(reportCount(), 0);
    const QString row = QStringList(eight).join(QLatin1Char('|'));
    EXPECT_EQ(storedFields().value(1), row);

    // The list shows it exactly.
    int shown = -1;
    for (int r = 0; r < list().items().itemCount(); ++r) {
        if (h.cell(r, MovieColumn::Id) == QStringLiteral("2")) {
            shown = r;
        }
    }
    ASSERT_GE(shown, 0);
    for (int c = 1; c <= 8; ++c) {
        EXPECT_EQ(list().items().cell(shown, c), value());
    }

    // Edit: the boxes show it exactly; saving one change keeps the rest exact.
    list().selectRow(shown);
    whileModal(h.editor(), [&] {
        EXPECT_EQ(h.box(4).text(), value());
        h.box(3).setText(value() + QStringLiteral("!"));
        h.clickSave();
    });
    h.click(Button::EditSelectedMovie);
    QStringList edited = eight;
    edited[2] += QStringLiteral("!");
    EXPECT_EQ(storedFields().value(1), edited.join(QLatin1Char('|')));

    // Clipboard: one line, the cells padded to the widest and tab-separated.
    for (int r = 0; r < list().items().itemCount(); ++r) {
        list().items().setTicked(r, h.cell(r, MovieColumn::Id) == QStringLiteral("2"));
    }
    h.click(Button::CopyMoviesToClipboard);
    QStringList cells = {QStringLiteral("2")};
    for (int c = 1; c <= 8; ++c) {
        const int width =
            int(std::max(list().items().cell(0, c).size(), list().items().cell(1, c).size()));
        cells << edited[c - 1].leftJustified(width, QLatin1Char(' '));
    }
    QString line = cells.join(QLatin1Char('\t'));
    while (line.endsWith(QLatin1Char(' '))) {
        line.chop(1);
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), line + QStringLiteral("\r\n"));

    // Workbook: every cell holds the text as typed (there is no "=" to drop).
    h.click(Button::CopyDatabaseToExcel);
    const QString file = h.launcher.lastFile();
    ASSERT_FALSE(file.isEmpty());
    const int sheetRow = list().items().isTicked(0) ? 2 : 3;
    EXPECT_EQ(readXlsxCell(file, QStringLiteral("D%1").arg(sheetRow)), edited[2]);
    EXPECT_EQ(readXlsxCell(file, QStringLiteral("I%1").arg(sheetRow)), edited[7]);
    EXPECT_EQ(reportCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Values, HostileText, ::testing::Range<std::size_t>(0, std::size(kHostile)),
                         [](const auto& info) { return std::string(kHostile[info.param].name); });

// A megabyte in one field is stored and shown exactly; in the workbook it is
// cut to what a cell holds, the export goes on, and one box says so.
TEST_F(FaultTest, MegabyteValueIsStoredExactlyAndCutOnlyInTheWorkbook) {
    writeCatalogue(0);
    h.start();
    const QString huge = QString(1 << 20, QLatin1Char('m'));
    EXPECT_FALSE(addThroughEditor({QStringLiteral("Huge"), {}, {}, huge, QStringLiteral("=Dir")}));
    EXPECT_EQ(TempCatalogue::rows(h.catalogue(), QStringLiteral("[cast]")), QStringList{huge});
    ListView& list = h.form->ListView1();
    ASSERT_EQ(list.items().itemCount(), 1);
    EXPECT_EQ(list.items().cell(0, 4), huge);
    list.items().setTicked(0, true);

    h.click(Button::CopyDatabaseToExcel);
    ASSERT_FALSE(h.launcher.lastFile().isEmpty());
    EXPECT_EQ(readXlsxCell(h.launcher.lastFile(), QStringLiteral("E2")), huge.left(32767));
    EXPECT_EQ(readXlsxCell(h.launcher.lastFile(), QStringLiteral("F2")), QStringLiteral("Dir"));
    ASSERT_EQ(h.boxes.count(), 2); // "Done." and the one note about the cut cell
    EXPECT_TRUE(h.boxes.last().text.contains(QStringLiteral("32767")) ||
                h.boxes.last().text.contains(QStringLiteral("32 767")));
    EXPECT_EQ(h.form->pointer().shape(), Pointer::Arrow);
}

} // namespace
