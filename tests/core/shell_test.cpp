#include "core/report/failure.h"
#include "core/system/shell.h"
#include "support/temp_catalogue.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(Shell, SharedDataFolderFollowsXdgDataHome) {
    TempCatalogue dirs;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (dirs.dataFolder() + QLatin1Char('/')).toUtf8());
    EXPECT_EQ(Shell().sharedDataFolder(), dirs.dataFolder());
    qputenv("XDG_DATA_HOME", saved);
    EXPECT_EQ(Shell(QString(), QString()).sharedDataFolder(), QString());
}

TEST(Shell, FoldersExistButOnlyFilesAreFiles) {
    TempCatalogue dirs;
    const QString folder = dirs.root() + QStringLiteral("/Tarnwick");
    const QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
    QFile(file).open(QIODevice::WriteOnly);
    QDir().mkdir(folder);

    EXPECT_TRUE(Shell::exists(folder));
    EXPECT_FALSE(Shell::isFile(folder));
    EXPECT_TRUE(Shell::isFile(file));
    EXPECT_TRUE(Shell::exists(file));
    EXPECT_FALSE(Shell::exists(dirs.root() + QStringLiteral("/none")));
    EXPECT_FALSE(Shell::isFile(dirs.root() + QStringLiteral("/none")));
    EXPECT_FALSE(Shell::exists(QString()));
    EXPECT_FALSE(Shell::isFile(QString()));

    EXPECT_THROW(Shell::makeFolder(file + QStringLiteral("/sub")), Failure);
    EXPECT_THROW(Shell::copyFile(dirs.root() + QStringLiteral("/none"), file), Failure);
}

} // namespace
