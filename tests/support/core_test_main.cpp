// Runs the core's tests with a plain QCoreApplication: no window system and
// no platform plugin is ever loaded.
#include <QCoreApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Counts and sorting follow the locale: the tests expect the C locale's,
    // whatever the machine's is.
    QLocale::setDefault(QLocale::c());
    // No test keeps or reuses film-database answers in the person's cache.
    const QTemporaryDir lookupCache;
    qputenv("REELKEEPER_LOOKUP_CACHE", lookupCache.path().toUtf8());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
