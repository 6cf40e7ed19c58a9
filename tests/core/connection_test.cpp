#include "core/catalogue/connection.h"
#include "core/report/failure.h"
#include "support/temp_catalogue.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override { TempCatalogue::createCatalogue(file); }
    TempCatalogue dirs;
    QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
};

// The file name reaches the database exactly: blanks, semicolons, quotes,
// '=' and letters beyond ASCII included.
TEST_F(ConnectionTest, OpensTheFileByItsExactName) {
    for (const char* name :
         {"a b;Data Source=x é.mdb", "\"q\";x.mdb", "'x.mdb", "x;Data Source=y;"}) {
        const QString odd = dirs.root() + QLatin1Char('/') + QString::fromUtf8(name);
        TempCatalogue::createCatalogue(odd);
        TempCatalogue::addTitles(odd, {QStringLiteral("odd")});
        Connection conn;
        conn.open(odd);
        Recordset rs;
        rs.open(QStringLiteral("select title from dvd"), conn);
        EXPECT_EQ(rs.value(QStringLiteral("title")), QStringLiteral("odd")) << name;
    }
    Connection unnamed;
    EXPECT_THROW(unnamed.open(QString()), Failure);
}

TEST_F(ConnectionTest, OpeningNeverCreatesAMissingFileOrAcceptsANonDatabase) {
    const QString missing = dirs.root() + QStringLiteral("/missing.mdb");
    Connection conn;
    EXPECT_THROW(conn.open(missing), Failure);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(conn.isOpen());

    const QString text = dirs.root() + QStringLiteral("/notes.mdb");
    QFile notes(text);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write(QByteArray(4096, 'x'));
    notes.close();
    try {
        conn.open(text);
        FAIL() << "a file that is not a database opened";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains(text)) << failure.description().toStdString();
    }
    EXPECT_FALSE(conn.isOpen());
    QFile check(text);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray(4096, 'x'));
}

TEST_F(ConnectionTest, OperationsOnAClosedConnectionFail) {
    Connection conn;
    EXPECT_THROW(conn.execute(QStringLiteral("delete from dvd")), Failure);
    Recordset rs;
    EXPECT_THROW(rs.open(QStringLiteral("select * from dvd"), conn), Failure);
    EXPECT_FALSE(rs.isOpen());
    EXPECT_THROW(rs.atEnd(), Failure);
    conn.open(file);
    EXPECT_TRUE(conn.isOpen());
    conn.close();
    EXPECT_FALSE(conn.isOpen());
    EXPECT_THROW(conn.execute(QStringLiteral("delete from dvd")), Failure);
}

TEST_F(ConnectionTest, ExecuteRunsExactlyOneStatement) {
    TempCatalogue::addTitles(file, {QStringLiteral("kept")});
    Connection conn;
    conn.open(file);
    // Raw SQL: the statements themselves are what Connection::execute is tested on.
    EXPECT_THROW(
        conn.execute(QStringLiteral("insert into dvd (title) values ('a'); delete from dvd")),
        Failure);
    EXPECT_THROW(conn.execute(QStringLiteral("insert into nowhere values (1)")), Failure);
    conn.execute(QStringLiteral("insert into dvd (title) values ('b');  \n"));
    conn.close();
    EXPECT_EQ(TempCatalogue::rows(file, QStringLiteral("title")),
              QStringList({QStringLiteral("kept"), QStringLiteral("b")}));
}

TEST_F(ConnectionTest, RecordsetReadsEveryRowAsText) {
    TempCatalogue::addMovies(file, {{"B", {}}, {"a", "1999"}});
    Connection conn;
    conn.open(file);
    Recordset rs;
    rs.open(QStringLiteral("select * from dvd order by title"), conn);
    EXPECT_TRUE(rs.isOpen());
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(rs.value(QStringLiteral("title")), QStringLiteral("a"));
    EXPECT_EQ(rs.value(QStringLiteral("ID")), QStringLiteral("2")); // names are case-insensitive
    rs.next();
    EXPECT_EQ(rs.value(QStringLiteral("year")), QString()); // null reads as empty text
    EXPECT_TRUE(rs.value(QStringLiteral("year")).isEmpty());
    EXPECT_THROW(rs.value(QStringLiteral("rank")), Failure);
    rs.next();
    EXPECT_TRUE(rs.atEnd());
    EXPECT_THROW(rs.value(QStringLiteral("title")), Failure);
    EXPECT_THROW(rs.next(), Failure);
    rs.close();
    EXPECT_FALSE(rs.isOpen());
}

} // namespace

namespace {

// Text that cannot reach the database exactly is refused, and nothing is stored.
TEST_F(ConnectionTest, TextThatCannotBeStoredExactlyIsRefused) {
    Connection conn;
    conn.open(file);
    // Raw SQL: the text inside the statement is what is tested.
    const QString nul = QStringLiteral("insert into dvd (title) values ('a") + QChar(0) +
                        QStringLiteral("'); delete from dvd; --')");
    EXPECT_THROW(conn.execute(nul), Failure);
    const QString lone =
        QStringLiteral("insert into dvd (title) values ('") + QChar(0xD800) + QStringLiteral("')");
    EXPECT_THROW(conn.execute(lone), Failure);
    const QString reversed = QStringLiteral("insert into dvd (title) values ('") + QChar(0xDC00) +
                             QChar(0xD800) + QStringLiteral("')");
    EXPECT_THROW(conn.execute(reversed), Failure);
    EXPECT_TRUE(TempCatalogue::rows(file).isEmpty());

    // A whole pair (an emoji) is fine and comes back exactly.
    conn.execute(QStringLiteral("insert into dvd (title) values ('🎬')"));
    EXPECT_EQ(TempCatalogue::rows(file, QStringLiteral("title")),
              QStringList({QStringLiteral("🎬")}));
}

} // namespace
