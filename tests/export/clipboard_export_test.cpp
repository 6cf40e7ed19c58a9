#include "core/formats/list_snapshot.h"
#include "core/report/failure.h"
#include "export/clipboard_export.h"
#include "platform/clipboard.h"
#include "support/qt_printers.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

// A clipboard that fails a set number of times before it works.
class FlakyClipboard : public Clipboard {
public:
    explicit FlakyClipboard(int failures) : m_failures(failures) {}
    void clear() override { attempt(QString(), -1); }
    void setText(const QString& value) override { attempt(value, kDefaultTextFormat); }
    void setText(const QString& value, int numbered) override { attempt(value, numbered); }

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
    EXPECT_TRUE(setClipboardText(late, QStringLiteral("x"), 13));
    EXPECT_EQ(late.attempts, 1000);
    EXPECT_EQ(late.format, 13);

    FlakyClipboard held(1'000'000);
    EXPECT_FALSE(setClipboardText(held, QStringLiteral("x"), 0));
    clearClipboard(held);
    EXPECT_EQ(held.attempts, 2000);
    EXPECT_EQ(held.text, QStringLiteral("before"));

    // No rows: the clipboard is not touched; rows but none ticked: it is emptied.
    FlakyClipboard idle(0);
    ListSnapshot list({"ID"});
    copyListToClipboard(list, idle);
    EXPECT_EQ(idle.attempts, 0);
    list.addRow({"1"}, false);
    copyListToClipboard(list, idle);
    EXPECT_EQ(idle.text, QString());
    EXPECT_EQ(idle.format, Clipboard::kDefaultTextFormat);
}

TEST(SystemClipboard, TakesPlainTextAndRefusesOtherFormats) {
    SystemClipboard clipboard;
    ListSnapshot list({"ID", "Title"});
    list.addRow({"7", "Alien"}, true);
    copyListToClipboard(list, clipboard);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "7\tAlien\r\n");
    EXPECT_FALSE(setClipboardText(clipboard, QStringLiteral("picture"), 2));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "7\tAlien\r\n");
}

} // namespace
