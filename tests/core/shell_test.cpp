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
    EXPECT_EQ(Shell().GetSpecialFolder(35), dirs.dataFolder());
    EXPECT_EQ(Shell().GetSpecialFolder(26), QString());
    qputenv("XDG_DATA_HOME", saved);
    EXPECT_EQ(Shell(QString(), QString()).GetSpecialFolder(35), QString());
}

TEST(Shell, DirListsFoldersOnlyWithTheDirectoryAttribute) {
    TempCatalogue dirs;
    const QString folder = dirs.root() + QStringLiteral("/Tarnwick");
    const QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
    QFile(file).open(QIODevice::WriteOnly);
    QDir().mkdir(folder);

    EXPECT_EQ(Shell::Dir(folder, Shell::vbDirectory), QStringLiteral("Tarnwick"));
    EXPECT_EQ(Shell::Dir(folder, Shell::vbNormal), QString());
    EXPECT_EQ(Shell::Dir(file, Shell::vbNormal), QStringLiteral("dbDVD.mdb"));
    EXPECT_EQ(Shell::Dir(file, Shell::vbDirectory), QStringLiteral("dbDVD.mdb"));
    EXPECT_EQ(Shell::Dir(dirs.root() + QStringLiteral("/none"), Shell::vbDirectory), QString());

    EXPECT_TRUE(Shell::FileExists(file));
    EXPECT_FALSE(Shell::FileExists(dirs.root() + QStringLiteral("/none")));
    EXPECT_FALSE(Shell::FileExists(QString()));

    EXPECT_THROW(Shell::MkDir(file + QStringLiteral("/sub")), Failure);
    EXPECT_THROW(Shell::FileCopy(dirs.root() + QStringLiteral("/none"), file), Failure);
}

} // namespace
