#include "editor/numeric_text.h"

#include <gtest/gtest.h>

namespace {

TEST(IsNumeric, AcceptsNumbersInTheUsersFormatOnly) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const char* yes :
         {"1999", " 1999 ", "-12", "+0.5", ".5", "5.", "1,999", "1.5e3", "2E-2", "\t42"}) {
        EXPECT_TRUE(IsNumeric(QString::fromUtf8(yes), english)) << yes;
    }
    for (const char* no : {"", " ", "n/a", "19 99", "1999a", "2h", "1:43", ".", "-", "1e", ",1",
                           "1,", "1..2", "0x1F", "٣"}) {
        EXPECT_FALSE(IsNumeric(QString::fromUtf8(no), english)) << no;
    }
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_TRUE(IsNumeric(QStringLiteral("1.999,5"), german));
    EXPECT_FALSE(IsNumeric(QStringLiteral("1,5,5"), german));
}

} // namespace
