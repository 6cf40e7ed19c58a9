// The one SQLite adapter: what each way of opening a file does with a file
// that is missing or no database, and that only a writer changes a file.
#include "core/sqlite/sqlite_database.h"
#include "core/sqlite/sqlite_statement.h"
#include "support/temp_catalogue.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using Access = SqliteDatabase::Access;

TEST(SqliteDatabaseTest, AMissingFileIsNeverMadeAndNoDatabaseFailsAtOpen) {
    const TempCatalogue dirs;
    const QString missing = dirs.root() + QStringLiteral("/missing.mdb");
    const QString garbage = dirs.root() + QStringLiteral("/garbage.mdb");
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    for (const Access access : {Access::ReadWrite, Access::ReadOnly, Access::Immutable}) {
        SCOPED_TRACE(int(access));
        EXPECT_THROW(SqliteDatabase(missing, access), SqliteFailure);
        EXPECT_FALSE(QFile::exists(missing));
        try {
            SqliteDatabase db(garbage, access);
            ADD_FAILURE() << "a file that is no database opened";
        } catch (const SqliteFailure& failure) {
            EXPECT_EQ(failure.kind(), SqliteFailure::Kind::NotADatabase);
            EXPECT_FALSE(failure.description().isEmpty());
        }
    }
}

TEST(SqliteDatabaseTest, OnlyTheWritableAccessChangesTheFile) {
    const TempCatalogue dirs;
    const QString path = dirs.root() + QStringLiteral("/dbDVD.mdb");
    TempCatalogue::createCatalogue(path);
    for (const Access access : {Access::ReadOnly, Access::Immutable}) {
        const SqliteDatabase db(path, access);
        EXPECT_THROW(db.execute("insert into dvd (title) values ('x')"), SqliteFailure);
    }
    const SqliteDatabase db(path, Access::ReadWrite);
    db.execute("insert into dvd (title) values ('Alien')");
    EXPECT_EQ(db.changes(), 1);
    EXPECT_EQ(TempCatalogue::rows(path, QStringLiteral("title")), QStringList{"Alien"});
    SqliteStatement read(db, "select title from dvd");
    ASSERT_TRUE(read.step());
    EXPECT_EQ(read.text(0), QStringLiteral("Alien"));
}

TEST(SqliteDatabaseTest, HasTableKnowsOnlyTablesOfTheMainDatabase) {
    const SqliteDatabase db(QString(), Access::Memory);
    db.execute("create table cover (id integer); create view loan as select 1;"
               " create index shelf_copy on cover (id); create temp table lookup_link (id);"
               " create table \"it's\" (id)");
    EXPECT_TRUE(db.hasTable(QStringLiteral("cover")));
    EXPECT_TRUE(db.hasTable(QStringLiteral("it's")));
    for (const char* name : {"loan", "shelf_copy", "lookup_link", "dvd", "' or '1' = '1"}) {
        EXPECT_FALSE(db.hasTable(QString::fromUtf8(name))) << name;
    }
}

} // namespace
