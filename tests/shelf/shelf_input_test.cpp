// Barcodes, names, prices and dates as a person or a scanner types them.
#include "core/report/failure.h"
#include "core/shelf/barcode.h"
#include "core/shelf/shelf_input.h"
#include "core/shelf/shelf_names.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

TEST(BarcodeTest, AcceptsTheThreeKindsAndSaysWhyOthersAreRefused) {
    const struct {
        const char* code;
        const char* problem; // a part of the reason; empty for a valid barcode
    } cases[] = {
        {"4006381333931", ""}, // EAN-13
        {"036000291452", ""},  // UPC-A
        {"96385074", ""},      // EAN-8
        {"0012345678905", ""}, // leading zeros
        {"4006381333932", "check digit 2 where 1 belongs"},
        {"03600029145", "has 11 digits"},
        {"40063813339310", "has 14 digits"},
        {"40063813339a1", "holds 'a'"},
        {"", "empty"},
    };
    for (const auto& c : cases) {
        const QString problem = Barcode::problem(QString::fromLatin1(c.code));
        EXPECT_TRUE(problem.contains(QLatin1String(c.problem)))
            << c.code << ": " << qPrintable(problem);
        EXPECT_EQ(problem.isEmpty(), *c.problem == '\0') << c.code;
    }
    EXPECT_EQ(Barcode::spellings("036000291452"), QStringList({"036000291452", "0036000291452"}));
}

TEST(ShelfNamesTest, MatchesNamesWithoutRegardToCase) {
    EXPECT_EQ(ShelfNames::format(" blu-RAY "), CopyFormat::BluRay);
    EXPECT_EQ(ShelfNames::format("4k uhd"), CopyFormat::Uhd4k);
    EXPECT_EQ(ShelfNames::name(CopyFormat::Uhd4k), QStringLiteral("4K UHD"));
    EXPECT_EQ(ShelfNames::status("Wished"), CopyStatus::Wished);
    EXPECT_FALSE(ShelfNames::format("Betamax"));
    EXPECT_FALSE(ShelfNames::status("lent"));
}

TEST(ShelfInputTest, ReadsPricesWithEitherSeparator) {
    const struct {
        const char* text;
        const char* price; // nullptr: refused
    } cases[] = {{"12,5", "12.50"},       {"12.50", "12.50"},      {" 7 ", "7.00"},
                 {"1.234,50", "1234.50"}, {"1,234.50", "1234.50"}, {"", ""},
                 {"12.345", nullptr},     {"12,3,4", nullptr},     {"ten", nullptr},
                 {"1234.5.6", nullptr}};
    for (const auto& c : cases) {
        if (c.price) {
            EXPECT_EQ(ShelfInput::price(QString::fromLatin1(c.text)), QLatin1String(c.price))
                << c.text;
        } else {
            EXPECT_THROW(ShelfInput::price(QString::fromLatin1(c.text)), Failure) << c.text;
        }
    }
}

TEST(ShelfInputTest, ReadsIsoAndTheLocalesShortDates) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QDate pi(2024, 3, 14);
    EXPECT_EQ(ShelfInput::date("2024-03-14", german), pi);
    EXPECT_EQ(ShelfInput::date("3/14/24", us), pi);
    EXPECT_EQ(ShelfInput::date("3/14/2024", us), pi);
    EXPECT_EQ(ShelfInput::date("14.03.24", german), pi);
    EXPECT_EQ(ShelfInput::date("3/14/99", us), QDate(1999, 3, 14));
    EXPECT_FALSE(ShelfInput::date(" ", us).isValid());
    EXPECT_THROW(ShelfInput::date("14/3/2024", us), Failure);
}

} // namespace
