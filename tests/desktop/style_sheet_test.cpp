#include "core/report/failure.h"
#include "desktop/style_sheet.h"

#include <gtest/gtest.h>

namespace {

QString failureOf(const QByteArray& bytes) {
    try {
        StyleSheet::checkedText(bytes);
    } catch (const Failure& failure) {
        return failure.description();
    }
    return {};
}

TEST(StyleSheet, TakesRulesWithCommentsQuotesAndAddressesAsWritten) {
    const QByteArray sheet = "/* a skin */\nQWidget#Form1 { background-color: #d4d0c8; }\n"
                             "QPushButton:hover:!pressed, QPushButton[flat=\"true\"] {\n"
                             "  border: 1px solid black; font-family: \"DejaVu Sans; Bold\";\n"
                             "  image: url(x/a{b}.png)\n}\nQTreeView::item {}\n";
    EXPECT_EQ(StyleSheet::checkedText(sheet), QString::fromUtf8(sheet));
    EXPECT_EQ(StyleSheet::checkedText("\xef\xbb\xbfQLabel { color: blue; }"),
              QStringLiteral("QLabel { color: blue; }")); // without its byte order mark
}

TEST(StyleSheet, RefusesWhatIsNotAStyleSheet) {
    const struct {
        QByteArray bytes;
        const char* expected;
    } cases[] = {
        {"", "holds no style rules"},
        {"  \n/* only a comment */\n", "holds no style rules"},
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "not text"},
        {"QWidget { color: red; }\xff\xfe", "not text (not UTF-8)"},
        {"QWidget { color: red }\x01", "control characters"},
        {"QWidget { color: red;", "line 1: a rule is not closed"},
        {"QWidget {\n color: red; /* open", "line 2: a comment is not closed"},
        {"QWidget { font-family: \"DejaVu }\n", "line 1: a quoted text runs past"},
        {"QWidget { image: url(a.png; }", "url(...) is not closed"},
        {"QWidget { QPushButton { color: red; } }", "nested"},
        {"{ color: red; }", "a block has no selector"},
        {"color: red;", "\";\" stands outside a rule"},
        {"QWidget { color: red; } }", "\"}\" stands outside a rule"},
        {"QWidget { color red; }", "not a declaration"},
        {"QWidget { color: ; }", "not a declaration"},
        {"QWidget { 9lives: red; }", "not a declaration"},
        {"@import \"other.qss\";", "at-rules are not supported"},
        {"QWidget % QLabel { color: red; }", "is not a selector"},
        {"QWidget { color: red; }\nQLabel", "\"QLabel\" is not followed by a block"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(failureOf(c.bytes).contains(QLatin1String(c.expected)))
            << c.bytes.toStdString() << " -> " << failureOf(c.bytes).toStdString();
    }
}

TEST(StyleSheet, ScalesPixelLengthsOutsideCommentsQuotesAndAddresses) {
    EXPECT_EQ(StyleSheet::scaledPixelLengths(
                  QStringLiteral("1px 10PX url(img/12px.png) \"8px\" 12pt a10px 50%"), 1.5),
              QStringLiteral("2px 15px url(img/12px.png) \"8px\" 12pt a10px 50%"));
    EXPECT_EQ(StyleSheet::scaledPixelLengths(
                  QStringLiteral("#b12px, .c4px { margin: 4px; } /* 4px\n 6px */"), 2),
              QStringLiteral("#b12px, .c4px { margin: 8px; } /* 4px\n 6px */"));
}

} // namespace
