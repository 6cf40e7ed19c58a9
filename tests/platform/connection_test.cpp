#include "platform/connection.h"
#include "platform/failure.h"
#include "support/temp_catalogue.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString connectionTextFor(const QString& path) {
    return QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") + path +
           QStringLiteral(";Persist Security Info=False");
}

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override { TempCatalogue::createCatalogue(file); }
    TempCatalogue dirs;
    QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
};

TEST_F(ConnectionTest, DataSourceIsTakenFromTheConnectionText) {
    EXPECT_EQ(Connection::dataSource(connectionTextFor(QStringLiteral("/a b/x.mdb"))),
              QStringLiteral("/a b/x.mdb"));
    EXPECT_EQ(Connection::dataSource(QStringLiteral("Data Source=/x.mdb")),
              QStringLiteral("/x.mdb"));
    EXPECT_EQ(Connection::dataSource(QStringLiteral("PROVIDER=x")), QString());
    // A plain path goes into the text as it is; any other reads back whole.
    EXPECT_EQ(Connection::quotedValue(QStringLiteral("/a b/it's \"x\".mdb")),
              QStringLiteral("/a b/it's \"x\".mdb"));
    for (const char* path : {"/a;b/x.mdb", "\"/q\"/x;.mdb", "'/x.mdb", "/x;Data Source=y;"}) {
        const QString text = connectionTextFor(Connection::quotedValue(QString::fromUtf8(path)));
        EXPECT_EQ(Connection::dataSource(text), QString::fromUtf8(path)) << text.toStdString();
    }
}

TEST_F(ConnectionTest, OpeningNeverCreatesAMissingFileOrAcceptsANonDatabase) {
    const QString missing = dirs.root() + QStringLiteral("/missing.mdb");
    Connection conn;
    EXPECT_THROW(conn.Open(connectionTextFor(missing)), Failure);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(conn.State(), 0);

    const QString text = dirs.root() + QStringLiteral("/notes.mdb");
    QFile notes(text);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write(QByteArray(4096, 'x'));
    notes.close();
    try {
        conn.Open(connectionTextFor(text));
        FAIL() << "a file that is not a database opened";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.description().contains(text)) << failure.description().toStdString();
    }
    EXPECT_EQ(conn.State(), 0);
    QFile check(text);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray(4096, 'x'));
}

TEST_F(ConnectionTest, OperationsOnAClosedConnectionFail) {
    Connection conn;
    EXPECT_THROW(conn.Execute(QStringLiteral("delete from dvd")), Failure);
    Recordset rs;
    EXPECT_THROW(rs.Open(QStringLiteral("select * from dvd"), conn), Failure);
    EXPECT_EQ(rs.State(), 0);
    EXPECT_THROW(rs.Eof(), Failure);
    conn.Open(connectionTextFor(file));
    EXPECT_EQ(conn.State(), 1);
    conn.Close();
    EXPECT_EQ(conn.State(), 0);
    EXPECT_THROW(conn.Execute(QStringLiteral("delete from dvd")), Failure);
}

TEST_F(ConnectionTest, ExecuteRunsExactlyOneStatement) {
    TempCatalogue::exec(file, QStringLiteral("insert into dvd (title) values ('kept')"));
    Connection conn;
    conn.Open(connectionTextFor(file));
    EXPECT_THROW(
        conn.Execute(QStringLiteral("insert into dvd (title) values ('a'); delete from dvd")),
        Failure);
    EXPECT_THROW(conn.Execute(QStringLiteral("insert into nowhere values (1)")), Failure);
    conn.Execute(QStringLiteral("insert into dvd (title) values ('b');  \n"));
    conn.Close();
    EXPECT_EQ(TempCatalogue::rows(file, QStringLiteral("title")),
              QStringList({QStringLiteral("kept"), QStringLiteral("b")}));
}

TEST_F(ConnectionTest, RecordsetReadsEveryRowAsText) {
    TempCatalogue::exec(file,
                        QStringLiteral("insert into dvd (title, year) values ('B', null);"
                                       "insert into dvd (title, year) values ('a', '1999');"));
    Connection conn;
    conn.Open(connectionTextFor(file));
    Recordset rs;
    rs.Open(QStringLiteral("select * from dvd order by title"), conn, 3, 1);
    EXPECT_EQ(rs.State(), 1);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields(QStringLiteral("title")), QStringLiteral("a"));
    EXPECT_EQ(rs.Fields(QStringLiteral("ID")), QStringLiteral("2")); // names are case-insensitive
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(QStringLiteral("year")), QString()); // null reads as empty text
    EXPECT_TRUE(rs.Fields(QStringLiteral("year")).isEmpty());
    EXPECT_THROW(rs.Fields(QStringLiteral("rank")), Failure);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_THROW(rs.Fields(QStringLiteral("title")), Failure);
    EXPECT_THROW(rs.MoveNext(), Failure);
    rs.Close();
    EXPECT_EQ(rs.State(), 0);
}

} // namespace

namespace {

// Text that cannot reach the database exactly is refused, and nothing is stored.
TEST_F(ConnectionTest, TextThatCannotBeStoredExactlyIsRefused) {
    Connection conn;
    conn.Open(connectionTextFor(file));
    const QString nul = QStringLiteral("insert into dvd (title) values ('a") + QChar(0) +
                        QStringLiteral("'); delete from dvd; --')");
    EXPECT_THROW(conn.Execute(nul), Failure);
    const QString lone =
        QStringLiteral("insert into dvd (title) values ('") + QChar(0xD800) + QStringLiteral("')");
    EXPECT_THROW(conn.Execute(lone), Failure);
    const QString reversed = QStringLiteral("insert into dvd (title) values ('") + QChar(0xDC00) +
                             QChar(0xD800) + QStringLiteral("')");
    EXPECT_THROW(conn.Execute(reversed), Failure);
    EXPECT_TRUE(TempCatalogue::rows(file).isEmpty());

    // A whole pair (an emoji) is fine and comes back exactly.
    conn.Execute(QStringLiteral("insert into dvd (title) values ('🎬')"));
    EXPECT_EQ(TempCatalogue::rows(file, QStringLiteral("title")),
              QStringList({QStringLiteral("🎬")}));
}

} // namespace
