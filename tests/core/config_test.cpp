// The settings facade: every key and default in one table, over a store.
#include "core/report/failure.h"
#include "core/settings/config.h"
#include "support/fakes.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

TEST(Config, KeysAndDefaultsAreTheStoredOnes) {
    EXPECT_EQ(Config::key(Setting::WindowState), QStringLiteral("WindowState"));
    EXPECT_EQ(Config::defaultValue(Setting::WindowState), QStringLiteral("0"));
    for (int column = 1; column <= 9; ++column) {
        const Setting width = Config::columnWidth(column);
        EXPECT_EQ(Config::key(width), QStringLiteral("ColumnHeaders%1").arg(column));
        EXPECT_EQ(Config::defaultValue(width),
                  column == 1 ? QStringLiteral("0") : QStringLiteral("1400"));
    }
    EXPECT_THROW(Config::columnWidth(0), Failure);
    EXPECT_THROW(Config::columnWidth(10), Failure);
}

TEST(Config, ReadsTheStoredTextOrTheDefaultAndWritesUnderTheKey) {
    MemorySettings store;
    Config config(store);
    EXPECT_EQ(config.get(Config::columnWidth(2)), QStringLiteral("1400"));
    store.values[QStringLiteral("ColumnHeaders2")] = QStringLiteral("not a number");
    EXPECT_EQ(config.get(Config::columnWidth(2)), QStringLiteral("not a number"));
    config.set(Setting::WindowState, QStringLiteral("2"));
    EXPECT_EQ(store.values,
              (QMap<QString, QString>{{"ColumnHeaders2", "not a number"}, {"WindowState", "2"}}));
}

} // namespace
