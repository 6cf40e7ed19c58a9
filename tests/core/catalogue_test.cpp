// The one owner of the catalogue file: what it sends, what it refuses, and
// that a batch is stored whole or not at all.
#include "core/catalogue/catalogue.h"
#include "core/report/failure.h"
#include "support/catalogue_internals.h"
#include "support/qt_printers.h"
#include "support/statement_log.h"
#include "support/temp_catalogue.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

DvdRecord movie(const QString& title, const QString& id = {}) {
    DvdRecord record;
    record.id = id;
    record.title = title;
    record.year = QStringLiteral("1979");
    record.studio = QStringLiteral("O'Hara");
    return record;
}

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        TempCatalogue::createCatalogue(file);
        TempCatalogue::addTitles(file, {QStringLiteral("brazil"), QStringLiteral("Alien")});
        catalogue.open(file);
    }
    QStringList titles() { return TempCatalogue::rows(file, QStringLiteral("title")); }

    TempCatalogue dirs;
    QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
    Catalogue catalogue;
};

TEST_F(CatalogueTest, SendsExactlyTheStatementTextsAndReadsInTitleOrder) {
    StatementLog log(CatalogueInternals::connection(catalogue));
    catalogue.add(movie(QStringLiteral("Casino")));
    EXPECT_TRUE(catalogue.change(movie(QStringLiteral("Heat"), QStringLiteral("3"))));
    EXPECT_TRUE(catalogue.remove(QStringLiteral("1")));
    const Recordset one = catalogue.readOne(QStringLiteral("2"));
    const std::vector<DvdRecord> all = catalogue.movies();
    catalogue.clear();
    EXPECT_EQ(log.statements,
              QStringList({QStringLiteral("insert into [dvd] ([title],[year],[genre],[cast],"
                                          "[director],[runtime],[rating],[studio]) values "
                                          "('Casino','1979','','','','','','O''Hara')"),
                           QStringLiteral("update [dvd] set [title]='Heat',[year]='1979',"
                                          "[genre]='',[cast]='',[director]='',[runtime]='',"
                                          "[rating]='',[studio]='O''Hara' where id=3"),
                           QStringLiteral("delete from dvd where id=1"),
                           QStringLiteral("select * from dvd where id=2"),
                           QStringLiteral("select * from dvd order by title"),
                           QStringLiteral("delete from [dvd]")}));
    EXPECT_EQ(recordAt(one).title, QStringLiteral("Alien"));
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].title, QStringLiteral("Alien")); // title order ignores case
    EXPECT_EQ(all[1].id, QStringLiteral("3"));
    EXPECT_EQ(all[1].studio, QStringLiteral("O'Hara"));
    EXPECT_TRUE(titles().isEmpty());
}

TEST_F(CatalogueTest, AMissingMovieIsReportedAsNoneAndNothingChanges) {
    EXPECT_FALSE(catalogue.movie(QStringLiteral("99")).has_value());
    EXPECT_FALSE(catalogue.change(movie(QStringLiteral("Gone"), QStringLiteral("99"))));
    EXPECT_FALSE(catalogue.remove(QStringLiteral("99")));
    EXPECT_EQ(catalogue.movie(QStringLiteral("2"))->title, QStringLiteral("Alien"));
    EXPECT_EQ(titles(), QStringList({QStringLiteral("brazil"), QStringLiteral("Alien")}));
}

// A catalogue made elsewhere may spell its columns in capitals; one without
// a column fails on reading that column only.
TEST(CatalogueColumns, ARowIsReadByMovieColumnWhateverTheCaseOfItsNames) {
    const TempCatalogue dirs;
    const QString file = dirs.root() + QStringLiteral("/other.mdb");
    TempCatalogue::createCatalogue(file);
    TempCatalogue::exec(
        file, QStringLiteral("drop table dvd; create table dvd (ID integer primary key, TITLE "
                             "text, Year text, genre text, cast text, director "
                             "text, runtime text, rating text);"
                             "insert into dvd values (7, 'Alien', '1979', 'SF', "
                             "'', '', '', '');"));
    Catalogue other;
    other.open(file);
    const Recordset rows = other.readAll();
    EXPECT_EQ(rows.value(MovieColumn::Id), QStringLiteral("7"));
    EXPECT_EQ(rows.value(MovieColumn::Title), QStringLiteral("Alien"));
    EXPECT_EQ(rows.field(rows.fieldIndex(MovieColumn::Year)), QStringLiteral("1979"));
    EXPECT_THROW(rows.fieldIndex(MovieColumn::Studio), Failure);
}

TEST_F(CatalogueTest, AnIdThatIsNotANumberNeverReachesTheDatabase) {
    StatementLog log(CatalogueInternals::connection(catalogue));
    for (const QString& id : {QString(), QStringLiteral("1 or 1=1"), QStringLiteral("1;"),
                              QStringLiteral("-"), QStringLiteral(" 1")}) {
        EXPECT_THROW(catalogue.remove(id), Failure) << id.toStdString();
        EXPECT_THROW(catalogue.readOne(id), Failure);
        EXPECT_THROW(catalogue.change(movie(QStringLiteral("x"), id)), Failure);
    }
    EXPECT_TRUE(log.statements.isEmpty());
    EXPECT_FALSE(catalogue.remove(QStringLiteral("-7"))); // a negative id is still an id
    EXPECT_EQ(titles().size(), 2);
}

// A batch is one transaction: a movie that cannot be stored, or a catalogue
// another program holds, leaves the catalogue exactly as it was.
TEST_F(CatalogueTest, ABatchIsStoredWholeOrNotAtAll) {
    const QByteArray before = TempCatalogue::checksum(file);
    const std::vector<DvdRecord> spoiled = {movie(QStringLiteral("One")),
                                            movie(QStringLiteral("Nul") + QChar(0)),
                                            movie(QStringLiteral("Three"))};
    EXPECT_THROW(catalogue.addAll(spoiled), Failure);
    EXPECT_EQ(TempCatalogue::checksum(file), before);

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_busy_timeout(CatalogueInternals::database(catalogue).handle(), 50);
    EXPECT_THROW(catalogue.addAll({movie(QStringLiteral("Blocked"))}), Failure);
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(TempCatalogue::checksum(file), before);

    catalogue.addAll({movie(QStringLiteral("One")), movie(QStringLiteral("Two"))});
    EXPECT_EQ(titles().size(), 4);
    catalogue.add(movie(QStringLiteral("After"))); // no transaction is left open
    EXPECT_EQ(titles().size(), 5);
}

// A U+FEFF at the start of a value is part of it, whether the value is sent
// in a statement or bound in a batch, and comes back when read.
TEST_F(CatalogueTest, AValueStartingWithAByteOrderMarkKeepsIt) {
    const QString marked = QChar(0xFEFF) + QStringLiteral("Marked");
    catalogue.add(movie(marked + QStringLiteral(" once")));
    catalogue.addAll({movie(marked + QStringLiteral(" in a batch"))});
    QStringList read;
    for (const DvdRecord& record : catalogue.movies()) {
        read << record.title;
    }
    EXPECT_EQ(read, (QStringList{QStringLiteral("Alien"), QStringLiteral("brazil"),
                                 marked + QStringLiteral(" in a batch"),
                                 marked + QStringLiteral(" once")}));
    QStringList walked;
    catalogue.forEachMovie([&walked](const DvdRecord& record) { walked << record.title; });
    EXPECT_EQ(walked, read) << "the streaming read keeps the mark too";
}

// A batch cancelled part-way, however far it got, stores nothing; the values
// arrive exactly as given.
TEST_F(CatalogueTest, ACancelledBatchStoresNothing) {
    const QByteArray before = TempCatalogue::checksum(file);
    const auto thousand = [](const std::function<void(const DvdRecord&)>& add) {
        for (int n = 0; n < 1000; ++n) {
            add(movie(QStringLiteral("It's %1 -- ;%1 \u202Eעב 🎬").arg(n)));
        }
    };
    qint64 told = 0;
    EXPECT_FALSE(catalogue.addAll(thousand, [&told](qint64 added) {
        told = added;
        return added < 400;
    }));
    EXPECT_GT(told, 400);
    EXPECT_LT(told, 1000);
    EXPECT_EQ(TempCatalogue::checksum(file), before);

    EXPECT_TRUE(catalogue.addAll(thousand, [&told](qint64 added) {
        told = added;
        return true;
    }));
    EXPECT_EQ(told, 1000);
    const QStringList stored = titles();
    ASSERT_EQ(stored.size(), 1002);
    EXPECT_EQ(stored.last(), QStringLiteral("It's 999 -- ;999 \u202Eעב 🎬"));
}

// Movies handed over as UTF-8 bytes are stored exactly as those bytes, in
// order, however many go to one statement; bytes that are not UTF-8 are
// stored as a QString decodes them, a NUL or a cancel stores nothing.
TEST_F(CatalogueTest, AUtf8BatchStoresItsBytesAsTheyAre) {
    const QByteArray before = TempCatalogue::checksum(file);
    const auto batch = [](int count, const QByteArray& last) {
        return [count, last](const std::function<void(const DvdFieldsUtf8&)>& add) {
            for (int n = 0; n < count; ++n) {
                const QByteArray title =
                    n + 1 == count ? last
                                   : QStringLiteral("It's %1 \u00e9t\u00e9 🎬").arg(n).toUtf8();
                add({title, "1979", "", "", "\xEF\xBB\xBFMann", "", "", "O'Hara"});
            }
        };
    };
    EXPECT_THROW(catalogue.addAllUtf8(batch(100, QByteArray("Nul\0in it", 9))), Failure);
    EXPECT_EQ(TempCatalogue::checksum(file), before);
    EXPECT_FALSE(catalogue.addAllUtf8(batch(1000, "x"), [](qint64 added) { return added < 400; }));
    EXPECT_EQ(TempCatalogue::checksum(file), before);

    // 131: two statements of 64 movies, then three one by one.
    qint64 told = 0;
    EXPECT_TRUE(catalogue.addAllUtf8(batch(131, "\xEF\xBB\xBFMarked \xFF"), [&told](qint64 added) {
        told = added;
        return true;
    }));
    EXPECT_EQ(told, 131);
    const QStringList stored = TempCatalogue::rows(file, QStringLiteral("title"));
    ASSERT_EQ(stored.size(), 133);
    EXPECT_EQ(stored.at(2), QStringLiteral("It's 0 \u00e9t\u00e9 🎬"));
    EXPECT_EQ(stored.at(131), QStringLiteral("It's 129 \u00e9t\u00e9 🎬"));
    const auto hex = [](const QByteArray& bytes) {
        return QString::fromLatin1(bytes.toHex().toUpper());
    };
    EXPECT_EQ(TempCatalogue::rows(file, QStringLiteral("hex(title)")).last(),
              hex("\xEF\xBB\xBFMarked \xEF\xBF\xBD"));
    EXPECT_EQ(TempCatalogue::rows(file, QStringLiteral("hex(director)")).last(),
              hex("\xEF\xBB\xBFMann"));
    EXPECT_EQ(TempCatalogue::rows(file, QStringLiteral("studio")).last(), QStringLiteral("O'Hara"));
}

TEST_F(CatalogueTest, OpeningNeverCreatesAndReadOnlyNeverWrites) {
    Catalogue missing;
    const QString nowhere = dirs.root() + QStringLiteral("/missing.mdb");
    EXPECT_THROW(missing.open(nowhere), Failure);
    EXPECT_FALSE(QFile::exists(nowhere));
    EXPECT_FALSE(missing.isOpen());

    catalogue.close();
    EXPECT_FALSE(catalogue.isOpen());
    const QByteArray bytes = TempCatalogue::fileBytes(file);
    Catalogue reader;
    reader.open(file, Catalogue::Access::ReadOnly);
    EXPECT_EQ(reader.fileName(), file);
    EXPECT_EQ(reader.movies().size(), 2u);
    const auto writes = [](Catalogue& c) {
        return std::vector<std::function<void()>>{
            [&] { c.add(movie(QStringLiteral("x"))); },
            [&] { c.change(movie(QStringLiteral("x"), QStringLiteral("1"))); },
            [&] { c.remove(QStringLiteral("1")); },
            [&] { c.clear(); },
            [&] { c.addAll({movie(QStringLiteral("x"))}); },
        };
    };
    for (const auto& write : writes(reader)) {
        EXPECT_THROW(write(), Failure);
    }
    EXPECT_EQ(TempCatalogue::fileBytes(file), bytes);

    // A closed catalogue refuses everything.
    for (const auto& write : writes(catalogue)) {
        EXPECT_THROW(write(), Failure);
    }
    EXPECT_THROW(catalogue.readAll(), Failure);
    EXPECT_THROW(catalogue.movie(QStringLiteral("1")), Failure);
}

} // namespace

namespace {

// The data version tells the window that the file changed; reading it sends
// nothing on the catalogue's own connection.
TEST_F(CatalogueTest, DataVersionChangesWithEveryCommitAndStaysOffTheConnection) {
    StatementLog log(CatalogueInternals::connection(catalogue));
    const std::optional<qint64> first = catalogue.dataVersion();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(catalogue.dataVersion(), first);
    TempCatalogue::exec(file, QStringLiteral("update dvd set year='1985' where title='brazil'"));
    const std::optional<qint64> second = catalogue.dataVersion();
    EXPECT_NE(second, first);
    catalogue.remove(QStringLiteral("1"));
    EXPECT_NE(catalogue.dataVersion(), second);
    EXPECT_EQ(log.statements, QStringList(QStringLiteral("delete from dvd where id=1")));
    catalogue.close();
    EXPECT_FALSE(catalogue.dataVersion().has_value());
}

} // namespace
