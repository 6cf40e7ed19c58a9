#include "core/report/counts.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// Every count the program writes is grouped the same way, the locale's.
TEST(Counts, AreGroupedAsTheLocaleGroupsThem) {
    const QLocale before;
    struct Case {
        QLocale locale;
        qint64 number;
        QString grouped;
    };
    const Case cases[] = {
        {QLocale::c(), 7, QStringLiteral("7")},
        {QLocale::c(), 100000, QStringLiteral("100 000")},
        {QLocale::c(), -1048575, QStringLiteral("-1 048 575")},
        {QLocale(QLocale::German), 100000, QStringLiteral("100.000")},
        {QLocale(QLocale::English, QLocale::UnitedStates), 1048575, QStringLiteral("1,048,575")},
    };
    for (const Case& c : cases) {
        QLocale::setDefault(c.locale);
        EXPECT_EQ(groupedNumber(c.number), c.grouped) << c.number;
    }
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(countOf(1, QStringLiteral("movie"), QStringLiteral("movies")),
              QStringLiteral("1 movie"));
    EXPECT_EQ(countOf(100000, QStringLiteral("movie"), QStringLiteral("movies")),
              QStringLiteral("100 000 movies"));
    QLocale::setDefault(before);
}

} // namespace
