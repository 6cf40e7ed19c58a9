#include "core/catalogue/connection.h"
#include "core/catalogue/statements.h"
#include "core/report/failure.h"
#include "support/temp_catalogue.h"

#include <gtest/gtest.h>

namespace {

DvdRecord movie(const QString& title) {
    DvdRecord rec;
    rec.title = title;
    rec.year = QStringLiteral("1942");
    rec.genre = QStringLiteral("Drama");
    rec.cast = QStringLiteral("Humphrey Bogart, Ingrid Bergman");
    rec.director = QStringLiteral("Michael Curtiz");
    rec.runtime = QStringLiteral("1:43");
    rec.rating = QStringLiteral("R");
    rec.studio = QStringLiteral("Warner");
    return rec;
}

TEST(Statements, TextsAreExact) {
    EXPECT_EQ(Statements::kReadAll, QStringLiteral("select * from dvd order by title"));
    EXPECT_EQ(Statements::kDeleteAll, QStringLiteral("delete from [dvd]"));
    EXPECT_EQ(Statements::readOne(QStringLiteral("12")),
              QStringLiteral("select * from dvd where id=12"));
    EXPECT_EQ(Statements::deleteOne(QStringLiteral("7")),
              QStringLiteral("delete from dvd where id=7"));
    EXPECT_EQ(
        Statements::addOne(movie(QStringLiteral("Schindler's List"))),
        QStringLiteral("insert into [dvd] ([title],[year],[genre],[cast],[director],[runtime],"
                       "[rating],[studio]) values ('Schindler''s List','1942','Drama',"
                       "'Humphrey Bogart, Ingrid Bergman','Michael Curtiz','1:43','R','Warner')"));
    DvdRecord changed = movie(QStringLiteral("'"));
    changed.id = QStringLiteral("3");
    changed.studio.clear();
    EXPECT_EQ(Statements::changeOne(changed),
              QStringLiteral("update [dvd] set [title]='''',[year]='1942',[genre]='Drama',"
                             "[cast]='Humphrey Bogart, Ingrid Bergman',[director]='Michael Curtiz',"
                             "[runtime]='1:43',[rating]='R',[studio]='' where id=3"));
    EXPECT_EQ(
        Statements::addOne(DvdRecord{}),
        QStringLiteral("insert into [dvd] ([title],[year],[genre],[cast],[director],[runtime],"
                       "[rating],[studio]) values ('','','','','','','','')"));
}

TEST(Statements, QuotingDoublesEveryApostropheAndNothingElse) {
    EXPECT_EQ(Statements::quoted(QStringLiteral("O'Brien's")), QStringLiteral("O''Brien''s"));
    EXPECT_EQ(Statements::quoted(QStringLiteral("''")), QStringLiteral("''''"));
    EXPECT_EQ(Statements::quoted(QStringLiteral("[x] \"q\", ;--\t\r\n")),
              QStringLiteral("[x] \"q\", ;--\t\r\n"));
}

// Every value survives add and change through a real catalogue exactly as typed.
TEST(Statements, HostileTextRoundTripsThroughTheCatalogue) {
    const QStringList titles = {
        QStringLiteral("Schindler's List"),
        QStringLiteral("'"),
        QStringLiteral("''"),
        QStringLiteral("[dvd]"),
        QStringLiteral("\"Quoted\""),
        QStringLiteral("a, b, c"),
        QStringLiteral("tab\there"),
        QStringLiteral("line\r\nbreak"),
        QStringLiteral("  padded  "),
        QStringLiteral("Amélie — 東京物語 🎬"),
        QString(),
        QStringLiteral("x'); delete from dvd; --"),
    };
    TempCatalogue dirs;
    const QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
    TempCatalogue::createCatalogue(file);
    Connection conn;
    conn.open(file);
    for (const QString& title : titles) {
        DvdRecord rec = movie(title);
        rec.cast = title;
        conn.execute(Statements::addOne(rec));
    }
    DvdRecord edited = movie(QStringLiteral("It's edited"));
    edited.id = QStringLiteral("1");
    edited.studio = QStringLiteral("O'Hara\n");
    conn.execute(Statements::changeOne(edited));

    Recordset rs;
    rs.open(QStringLiteral("select * from dvd order by id"), conn);
    QStringList readTitles;
    QStringList readCasts;
    while (!rs.atEnd()) {
        readTitles << rs.value(QStringLiteral("title"));
        readCasts << rs.value(QStringLiteral("cast"));
        if (rs.value(QStringLiteral("id")) == QStringLiteral("1")) {
            EXPECT_EQ(rs.value(QStringLiteral("studio")), QStringLiteral("O'Hara\n"));
        }
        rs.next();
    }
    QStringList expected = titles;
    expected[0] = QStringLiteral("It's edited");
    EXPECT_EQ(readTitles, expected);
    QStringList expectedCasts = titles;
    expectedCasts[0] = QStringLiteral("Humphrey Bogart, Ingrid Bergman");
    EXPECT_EQ(readCasts, expectedCasts);

    conn.execute(Statements::deleteOne(QStringLiteral("2")));
    conn.execute(Statements::kDeleteAll);
    conn.execute(Statements::kDeleteAll);
    Recordset empty;
    empty.open(Statements::kReadAll, conn);
    EXPECT_TRUE(empty.atEnd());
}

} // namespace

namespace {

TEST(Statements, TheRowIdMustBeAWholeNumber) {
    DvdRecord changed = movie(QStringLiteral("Heat"));
    for (const char* id : {"0", "42", "-3", "007"}) {
        changed.id = QString::fromUtf8(id);
        EXPECT_NO_THROW(Statements::readOne(changed.id)) << id;
        EXPECT_NO_THROW(Statements::changeOne(changed)) << id;
        EXPECT_NO_THROW(Statements::deleteOne(changed.id)) << id;
    }
    for (const char* id : {"id", "", "-", "1 or 1=1", "1;", " 1", "1 ", "+1", "1.0", "0x1", "١"}) {
        changed.id = QString::fromUtf8(id);
        EXPECT_THROW(Statements::readOne(changed.id), Failure) << id;
        EXPECT_THROW(Statements::changeOne(changed), Failure) << id;
        EXPECT_THROW(Statements::deleteOne(changed.id), Failure) << id;
    }
}

} // namespace
