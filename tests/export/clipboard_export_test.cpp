#include "export/clipboard_export.h"
#include "export/list_snapshot.h"
#include "export/qt_printers.h"
#include "platform/clipboard.h"
#include "platform/failure.h"
#include "platform/throttled_pump.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

const QStringList kCaptions = {QStringLiteral("ID"), QStringLiteral("Title"),
                               QStringLiteral(" Year")};

ListSnapshot listOf(const QList<std::pair<QStringList, bool>>& rows,
                    const QStringList& captions = kCaptions) {
    ListSnapshot list(captions);
    for (const auto& [cells, ticked] : rows) {
        list.addRow(cells, ticked);
    }
    return list;
}

QStringList row(const char* a, const char* b, const char* c) {
    return {QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c)};
}

TEST(ClipboardText, PadsToTheWidestCellOfAllRowsAndEndsEveryLineInCrLf) {
    // Two ticked rows: every column padded to its widest cell, no header line.
    EXPECT_EQ(
        clipboardText(listOf({{row("1", "Alien", "1979"), true}, {row("12", "Up", "2009"), true}})),
        QStringLiteral("1 \tAlien\t1979\r\n"
                       "12\tUp   \t2009\r\n"));
    // An unticked row still widens its columns for the ticked ones.
    EXPECT_EQ(clipboardText(listOf(
                  {{row("1", "Up", "2009"), true}, {row("2", "The Long Goodbye", "1973"), false}})),
              QStringLiteral("1\tUp              \t2009\r\n"));
    // Rows present, none ticked: the empty text.
    EXPECT_EQ(clipboardText(listOf({{row("1", "Up", "2009"), false}})), QString());
}

TEST(ClipboardText, LineEndsAreTrimmedOnlyAfterTheLastCell) {
    // An empty last cell leaves the line ending in the tab before it.
    EXPECT_EQ(
        clipboardText(listOf({{row("1", "Alien", ""), true}, {row("2", "Up", "2009"), false}})),
        QStringLiteral("1\tAlien\t\r\n"));
    // A short last cell is not padded.
    EXPECT_EQ(
        clipboardText(listOf({{row("1", "Alien", "79"), true}, {row("2", "Up", "2009"), false}})),
        QStringLiteral("1\tAlien\t79\r\n"));
    // Trailing blanks of the last cell go; those of other cells stay.
    EXPECT_EQ(clipboardText(listOf({{row("1", "Up  ", "Drama  "), true}})),
              QStringLiteral("1\tUp  \tDrama\r\n"));
}

TEST(ClipboardText, CellTextsAreCopiedUnchanged) {
    // A tab inside a cell counts as one character and stays.
    EXPECT_EQ(clipboardText(listOf({{row("1", "A\tB", "x"), true}, {row("2", "C", "y"), true}})),
              QStringLiteral("1\tA\tB\tx\r\n"
                             "2\tC  \ty\r\n"));
    // Formula-like and non-Latin texts are not touched.
    EXPECT_EQ(clipboardText(listOf({{row("7", "=1+1", "Ωμέγα"), true}})),
              QStringLiteral("7\t=1+1\tΩμέγα\r\n"));
}

TEST(ClipboardText, PumpRunsForEveryCellOfBothPasses) {
    const ListSnapshot list =
        listOf({{row("1", "Up", "2009"), true}, {row("2", "Alien", "1979"), false}});
    int pumps = 0;
    clipboardText(list, [&] { ++pumps; });
    // Widths: 3 columns x 2 rows; text: 2 rows + 3 cells of the ticked one.
    EXPECT_EQ(pumps, 6 + 2 + 3);
}

// A clipboard that fails a set number of times before it works.
class FlakyClipboard : public Clipboard {
public:
    explicit FlakyClipboard(int failures) : m_failures(failures) {}

    void Clear() override {
        ++clears;
        failIfDue();
        text.clear();
    }
    void SetText(const QString& value) override {
        ++sets;
        failIfDue();
        text = value;
        format = kDefaultTextFormat;
    }
    void SetText(const QString& value, int numbered) override {
        ++sets;
        failIfDue();
        text = value;
        format = numbered;
    }

    int clears = 0;
    int sets = 0;
    QString text = QStringLiteral("before");
    int format = -1;

private:
    void failIfDue() {
        if (m_failures > 0) {
            --m_failures;
            throw Failure(QStringLiteral("The clipboard is held by another program."));
        }
    }
    int m_failures;
};

TEST(ClipboardRetries, AClipboardHeldElsewhereIsTriedAThousandTimes) {
    FlakyClipboard lateClipboard(999);
    EXPECT_TRUE(Main::setClipboardText(lateClipboard, QStringLiteral("x"), 0));
    EXPECT_EQ(lateClipboard.sets, 1000);
    EXPECT_EQ(lateClipboard.text, QStringLiteral("x"));

    FlakyClipboard heldClipboard(1'000'000);
    EXPECT_FALSE(Main::setClipboardText(heldClipboard, QStringLiteral("x"), 0));
    EXPECT_EQ(heldClipboard.sets, 1000);
    Main::clearClipboard(heldClipboard); // gives up silently
    EXPECT_EQ(heldClipboard.clears, 1000);
    EXPECT_EQ(heldClipboard.text, QStringLiteral("before"));

    FlakyClipboard numbered(0);
    EXPECT_TRUE(Main::setClipboardText(numbered, QStringLiteral("y"), 13));
    EXPECT_EQ(numbered.sets, 1);
    EXPECT_EQ(numbered.format, 13);
}

TEST(CopyListToClipboard, EmptyListLeavesTheClipboardAloneOtherwiseItIsReplaced) {
    FlakyClipboard clipboard(0);
    Main::copyListToClipboard(ListSnapshot(kCaptions), clipboard);
    EXPECT_EQ(clipboard.clears + clipboard.sets, 0);
    EXPECT_EQ(clipboard.text, QStringLiteral("before"));

    // Rows but none ticked: the clipboard ends up holding the empty text.
    Main::copyListToClipboard(listOf({{row("1", "Up", "2009"), false}}), clipboard);
    EXPECT_EQ(clipboard.clears, 1);
    EXPECT_EQ(clipboard.text, QString());
    EXPECT_EQ(clipboard.format, Clipboard::kDefaultTextFormat);
}

TEST(SystemClipboard, TheDesktopClipboardReceivesThePlainText) {
    SystemClipboard clipboard;
    Main::copyListToClipboard(
        listOf({{row("1", "Alien", "1979"), true}, {row("12", "Up", "2009"), true}}), clipboard);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("1 \tAlien\t1979\r\n12\tUp   \t2009\r\n"));

    // Text formats are accepted by number; others are refused, and the
    // retries give up without touching what is there.
    EXPECT_TRUE(Main::setClipboardText(clipboard, QStringLiteral("unicode"), 13));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("unicode"));
    EXPECT_FALSE(Main::setClipboardText(clipboard, QStringLiteral("bitmap"), 2));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("unicode"));
}

TEST(ThrottledPump, PumpsAtOnceThenAtMostOncePerInterval) {
    qint64 now = 1000;
    int pumps = 0;
    ThrottledPump pump([&] { ++pumps; }, [&] { return now; }, 5);
    pump();
    EXPECT_EQ(pumps, 1);
    for (now = 1000; now < 1005; ++now) {
        pump();
    }
    EXPECT_EQ(pumps, 1);
    pump(); // now == 1005
    EXPECT_EQ(pumps, 2);
    now += 100;
    pump();
    pump();
    EXPECT_EQ(pumps, 3);
}

} // namespace
