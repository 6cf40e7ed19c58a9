#include "desktop/style_sheet.h"
#include "platform/failure.h"

#include <gtest/gtest.h>

namespace {

QString failureOf(const QByteArray& bytes) {
    try {
        StyleSheet::parse(bytes);
    } catch (const Failure& failure) {
        return failure.description();
    }
    return {};
}

TEST(StyleSheet, ReadsRulesAndWritesThemBackOut) {
    const QByteArray sheet = "/* a skin */\n"
                             "QWidget#Form1 { background-color: #d4d0c8; }\n"
                             "QPushButton:hover:!pressed, QPushButton[flat=\"true\"] {\n"
                             "  border: 1px solid black; font-family: \"DejaVu Sans; Bold\";\n"
                             "  image: url(x/a{b}.png)\n"
                             "}\n"
                             "QTreeView::item {}\n";
    const std::vector<StyleRule> rules = StyleSheet::parse(sheet);
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0].selector, QStringLiteral("QWidget#Form1"));
    ASSERT_EQ(rules[1].declarations.size(), 3u);
    EXPECT_EQ(rules[1].declarations[1].property, QStringLiteral("font-family"));
    // A quoted ";" belongs to the value.
    EXPECT_EQ(rules[1].declarations[1].value, QStringLiteral("\"DejaVu Sans; Bold\""));
    EXPECT_EQ(rules[1].declarations[2].value, QStringLiteral("url(x/a{b}.png)"));
    EXPECT_TRUE(rules[2].declarations.empty());
    // Writing out and reading again gives the same rules.
    const std::vector<StyleRule> again = StyleSheet::parse(StyleSheet::text(rules).toUtf8());
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(again[1].declarations[0].value, QStringLiteral("1px solid black"));
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
        {"QWidget { QPushButton { color: red; } }", "nested"},
        {"{ color: red; }", "a block has no selector"},
        {"color: red;", "\";\" stands outside a rule"},
        {"QWidget { color: red; } }", "\"}\" stands outside a rule"},
        {"QWidget { color red; }", "not a declaration"},
        {"QWidget { color: ; }", "not a declaration"},
        {"QWidget { 9lives: red; }", "not a declaration"},
        {"@import \"other.qss\";", "at-rules are not supported"},
        {"QWidget { image: url(a.png; }", "url(...) is not closed"},
        {"QWidget % QLabel { color: red; }", "is not a selector"},
        {"QWidget { color: red; }\nQLabel", "\"QLabel\" is not followed by a block"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(failureOf(c.bytes).contains(QLatin1String(c.expected)))
            << c.bytes.toStdString() << " -> " << failureOf(c.bytes).toStdString();
    }
}

TEST(StyleSheet, ScalesPixelLengthsOutsideQuotesAndAddresses) {
    using StyleSheet::scaledPixelLengths;
    EXPECT_EQ(scaledPixelLengths(QStringLiteral("1px solid black"), 1.5),
              QStringLiteral("2px solid black"));
    EXPECT_EQ(scaledPixelLengths(QStringLiteral("4px 10px"), 1.25), QStringLiteral("5px 13px"));
    EXPECT_EQ(scaledPixelLengths(QStringLiteral("url(img/12px.png) 8px"), 2),
              QStringLiteral("url(img/12px.png) 16px"));
    EXPECT_EQ(scaledPixelLengths(QStringLiteral("\"10px\" 10PX"), 2),
              QStringLiteral("\"10px\" 20px"));
    // Points, percentages and parts of other words stay.
    EXPECT_EQ(scaledPixelLengths(QStringLiteral("12pt a10px 50%"), 2),
              QStringLiteral("12pt a10px 50%"));
}

} // namespace
