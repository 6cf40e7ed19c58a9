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

// A clipboard that fails a set number of times before it works.
class FlakyClipboard : public Clipboard {
public:
    explicit FlakyClipboard(int failures) : m_failures(failures) {}
    void Clear() override { attempt(QString(), -1); }
    void SetText(const QString& value) override { attempt(value, kDefaultTextFormat); }
    void SetText(const QString& value, int numbered) override { attempt(value, numbered); }

    int attempts = 0;
    QString text = QStringLiteral("before");
    int format = -2;

private:
    void attempt(const QString& value, int numbered) {
        ++attempts;
        if (m_failures > 0) {
            --m_failures;
            throw Failure(QStringLiteral("The clipboard is held by another program."));
        }
        text = value;
        format = numbered;
    }
    int m_failures;
};

TEST(ClipboardRetries, AClipboardHeldElsewhereIsTriedAThousandTimesThenGivenUp) {
    FlakyClipboard late(999);
    EXPECT_TRUE(Main::setClipboardText(late, QStringLiteral("x"), 13));
    EXPECT_EQ(late.attempts, 1000);
    EXPECT_EQ(late.format, 13);

    FlakyClipboard held(1'000'000);
    EXPECT_FALSE(Main::setClipboardText(held, QStringLiteral("x"), 0));
    Main::clearClipboard(held);
    EXPECT_EQ(held.attempts, 2000);
    EXPECT_EQ(held.text, QStringLiteral("before"));

    // No rows: the clipboard is not touched; rows but none ticked: it is emptied.
    FlakyClipboard idle(0);
    ListSnapshot list({"ID"});
    Main::copyListToClipboard(list, idle);
    EXPECT_EQ(idle.attempts, 0);
    list.addRow({"1"}, false);
    Main::copyListToClipboard(list, idle);
    EXPECT_EQ(idle.text, QString());
    EXPECT_EQ(idle.format, Clipboard::kDefaultTextFormat);
}

TEST(SystemClipboard, TakesPlainTextAndRefusesOtherFormats) {
    SystemClipboard clipboard;
    ListSnapshot list({"ID", "Title"});
    list.addRow({"7", "Alien"}, true);
    Main::copyListToClipboard(list, clipboard);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "7\tAlien\r\n");
    EXPECT_FALSE(Main::setClipboardText(clipboard, QStringLiteral("picture"), 2));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "7\tAlien\r\n");
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
