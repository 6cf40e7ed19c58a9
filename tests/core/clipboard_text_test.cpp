#include "core/formats/clipboard_text.h"
#include "core/formats/list_snapshot.h"
#include "core/system/throttled_pump.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

// A list of rows, each ticked or not (by default three columns: id, title,
// year); its length is worked out beforehand and checked against the text.
QString textOf(const QList<std::pair<QStringList, bool>>& rows,
               const QStringList& captions = {"ID", "Title", " Year"}) {
    ListSnapshot list(captions);
    for (const auto& [cells, ticked] : rows) {
        list.addRow(cells, ticked);
    }
    const QString text = clipboardText(list);
    EXPECT_EQ(clipboardTextLength(list, clipboardColumnWidths(list)), text.size());
    return text;
}

TEST(ClipboardText, PadsEachColumnToItsWidestCellAndTrimsOnlyAfterTheLastCell) {
    EXPECT_EQ(textOf({{{"1", "Alien", "1979"}, true}, {{"12", "Up", "2009"}, true}}),
              "1 \tAlien\t1979\r\n"
              "12\tUp   \t2009\r\n");
    // An unticked row still widens the column; a short last cell is not padded.
    EXPECT_EQ(textOf({{{"1", "Up", "79"}, true}, {{"2", "The Long Goodbye", "1973"}, false}}),
              "1\tUp              \t79\r\n");
    EXPECT_EQ(textOf({{{"1", "Up", "2009"}, false}}), QString());
    // An empty last cell leaves the line ending in the tab before it.
    EXPECT_EQ(textOf({{{"1", "Alien", ""}, true}, {{"2", "Up", "2009"}, false}}), "1\tAlien\t\r\n");
    // Trailing blanks go in the last column only.
    EXPECT_EQ(textOf({{{"1", "Up  ", "Drama  "}, true}}), "1\tUp  \tDrama\r\n");
    // Cell texts are copied unchanged; a tab inside one counts as one character.
    EXPECT_EQ(textOf({{{"1", "A\tB", "=1+1"}, true}, {{"2", "C", "Ωμέγα"}, true}}),
              "1\tA\tB\t=1+1\r\n"
              "2\tC  \tΩμέγα\r\n");
    // One column: its blanks go too; no column at all: bare line ends.
    EXPECT_EQ(textOf({{{"  "}, true}, {{"Up "}, true}, {{"Heat"}, false}}, {"ID"}), "\r\nUp\r\n");
    EXPECT_EQ(textOf({{{}, true}}, {}), "\r\n");
}

TEST(ThrottledPump, PumpsAtOnceThenAtMostOncePerInterval) {
    qint64 now = 1000;
    int pumps = 0;
    ThrottledPump pump([&] { ++pumps; }, [&] { return now; }, 5);
    for (; now < 1005; ++now) {
        pump();
    }
    EXPECT_EQ(pumps, 1);
    pump();
    pump();
    EXPECT_EQ(pumps, 2);
}

} // namespace
