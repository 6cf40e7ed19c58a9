// Snapshots kept apart per catalogue, salvage of a damaged catalogue, and
// files not to be trusted blindly: links, foreign triggers, write-ahead
// logs, a wrong clock, the catalogue itself.
#include "core/covers/cover_schema.h"
#include "core/snapshots/catalogue_check.h"
#include "core/snapshots/retention.h"
#include "snapshot_fixture.h"

#include <QSet>

namespace {

SnapshotStore storeOf(const QString& catalogue, const QDateTime& now) {
    return SnapshotStore(catalogue, [now] { return now; });
}

TEST_F(SnapshotTest, CataloguesSharingAFolderKeepTheirOwnSnapshots) {
    const QString films = dir.path() + QStringLiteral("/films.mdb");
    const QString films2 = dir.path() + QStringLiteral("/films-2.mdb");
    for (const QString& file : {films, films2}) {
        TempCatalogue::createCatalogue(file);
    }
    const QString kids = storeOf(films2, now).make(SnapshotReason::Manual);
    const QString own = store().make(SnapshotReason::Manual);
    EXPECT_EQ(QFileInfo(kids).fileName(), QStringLiteral("films-2-20240305-141516.mdb"));
    for (int i = 0; i < 22; ++i) {
        storeOf(films, now.addSecs(60 * (i + 1))).make(SnapshotReason::Import);
    }
    const QDateTime later = now.addSecs(3600);
    EXPECT_EQ(storeOf(films, later).list().size(), 20);
    ASSERT_EQ(storeOf(films2, later).list().size(), 1);
    EXPECT_EQ(storeOf(films2, later).list().constFirst().path, kids);
    ASSERT_EQ(store().list().size(), 1);
    EXPECT_EQ(store().list().constFirst().path, own);
}

class SalvageTest : public SnapshotTest {
protected:
    // 3000 movies, covers for the first 50, then garbage over two pages of movies.
    void damage() {
        addMovies(3000);
        TempCatalogue::exec(catalogue, QString::fromLatin1(CoverSchema::kTable) + ';' +
                                           QString::fromLatin1(CoverSchema::kTrigger) +
                                           "; insert into cover select id, 1, 1, 'png', "
                                           "randomblob(300) from dvd where id <= 50");
        TempCatalogue::exec(catalogue, QStringLiteral("delete from dvd where id = 3000"));
        original = TempCatalogue::rows(catalogue);
        for (qint64 page : {40, 41}) {
            writeFile(catalogue, QByteArray(64, '\x5a'), page * 4096);
        }
        damagedBytes = TempCatalogue::fileBytes(catalogue);
    }
    QStringList original;
    QByteArray damagedBytes;
};

TEST_F(SalvageTest, SavesEveryReadableRowIntoASoundCatalogueAndKeepsTheDamagedFile) {
    damage();
    ASSERT_TRUE(checkCatalogue(catalogue, CheckDepth::Quick).damaged);
    const qint64 readable = store().salvageable().movies;
    const SalvageResult result = store().salvage();

    EXPECT_EQ(result.movies, readable);
    EXPECT_GT(result.movies, 2800);
    EXPECT_LT(result.movies, 2999);
    EXPECT_EQ(result.covers, 50);
    EXPECT_GE(result.damagedPlaces, 1);
    EXPECT_EQ(QFileInfo(result.keptDamaged).fileName(),
              QStringLiteral("damaged-dbDVD-20240305-141516.mdb"));
    EXPECT_EQ(TempCatalogue::fileBytes(result.keptDamaged), damagedBytes);

    EXPECT_TRUE(checkCatalogue(catalogue, CheckDepth::Full).clean());
    const QStringList saved = TempCatalogue::rows(catalogue);
    EXPECT_EQ(saved.size(), result.movies);
    const QSet<QString> before(original.begin(), original.end());
    for (const QString& row : saved) {
        EXPECT_TRUE(before.contains(row)) << row.toStdString();
    }
    // The cover trigger came along, and numbers once given are not given again.
    TempCatalogue::exec(catalogue, QStringLiteral("delete from dvd where id = 1"));
    TempCatalogue::addTitles(catalogue, {QStringLiteral("New")});
    EXPECT_EQ(TempCatalogue::rows(catalogue, QStringLiteral("id")).constLast(),
              QStringLiteral("3001"));
    EXPECT_EQ(TempCatalogue::quickCheck(catalogue), QStringLiteral("ok"));
}

TEST_F(SnapshotTest, RestoreThroughALinkWritesTheLinkedFileAndKeepsItsMode) {
    addMovies(4);
    const QString snapshot = store().make(SnapshotReason::Manual);
    const QString real = dir.path() + QStringLiteral("/real.mdb");
    ASSERT_TRUE(QFile::rename(catalogue, real));
    ASSERT_TRUE(QFile::link(real, catalogue));
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    writeFile(real, QByteArray("not a catalogue at all").repeated(300));
    ASSERT_TRUE(QFile::setPermissions(real, mode));

    store().restore(snapshot);
    EXPECT_EQ(QFileInfo(catalogue).symLinkTarget(), real);
    EXPECT_EQ(QFile::permissions(real) & 0x7077, mode); // owner, group, others
    EXPECT_EQ(TempCatalogue::checksum(real), TempCatalogue::checksum(snapshot));
}

// A snapshot with a trigger or view the program did not make is refused
// unless allowed; the program's own cover trigger passes.
TEST_F(SnapshotTest, ForeignTriggersAndViewsAreReportedAndNotRestoredUnlessAllowed) {
    addMovies(50);
    TempCatalogue::exec(catalogue, QString::fromLatin1(CoverSchema::kTable) + ';' +
                                       QString::fromLatin1(CoverSchema::kTrigger));
    const QString own = store().make(SnapshotReason::Manual);
    EXPECT_TRUE(checkCatalogue(own, CheckDepth::Quick).clean());
    TempCatalogue::exec(catalogue,
                        QStringLiteral("create trigger purge after insert on dvd begin delete "
                                       "from dvd where id < new.id; end;"
                                       "create view titles as select title from dvd"));
    const CheckResult check = checkCatalogue(catalogue, CheckDepth::Full);
    EXPECT_TRUE(check.ok());
    EXPECT_FALSE(check.clean());
    EXPECT_TRUE(check.text().contains(QStringLiteral("trigger the program did not make: purge")));
    EXPECT_TRUE(check.text().contains(QStringLiteral("view the program did not make: titles")));

    const QString foreign = dir.path() + QStringLiteral("/foreign.mdb");
    ASSERT_TRUE(QFile::copy(catalogue, foreign));
    store().restore(own);
    try {
        store().restore(foreign);
        ADD_FAILURE() << "restored";
    } catch (const SnapshotFailure& failure) {
        EXPECT_EQ(failure.kind(), SnapshotFailure::Kind::Foreign);
        EXPECT_TRUE(failure.description().contains(QStringLiteral("trigger purge, view titles")))
            << failure.description().toStdString();
    }
    EXPECT_TRUE(checkCatalogue(catalogue, CheckDepth::Quick).clean());
    store().restore(foreign, SnapshotStore::SafetySnapshot::Required,
                    SnapshotStore::ForeignObjects::Allow);
    EXPECT_FALSE(checkCatalogue(catalogue, CheckDepth::Quick).clean());
}

// A file in write-ahead-log mode neither turns the catalogue to it nor makes
// files appear beside the snapshots (which a read-only folder would refuse).
TEST_F(SnapshotTest, WriteAheadLogFilesChangeNoJournalModeAndListWithoutNewFiles) {
    addMovies(10);
    const QString wal = dir.path() + QStringLiteral("/wal.mdb");
    TempCatalogue::createCatalogue(wal);
    // Raw SQL: the point is a file written in WAL mode, then checkpointed.
    TempCatalogue::exec(wal, QStringLiteral("pragma journal_mode=wal; insert into dvd (title) "
                                            "values ('Alien'); pragma wal_checkpoint(truncate)"));
    QFile::remove(wal + QStringLiteral("-wal"));
    QFile::remove(wal + QStringLiteral("-shm"));
    store().restore(wal);
    EXPECT_EQ(TempCatalogue::rows(catalogue, QStringLiteral("title")), QStringList{"Alien"});
    EXPECT_EQ(TempCatalogue::fileBytes(catalogue).mid(18, 2), QByteArray("\x01\x01", 2));

    // An older snapshot flagged for the log.
    ASSERT_TRUE(QFile::copy(wal, store().folder() + QStringLiteral("/dbDVD-20240101-000000.mdb")));
    const QStringList files = folderFiles();
    EXPECT_EQ(store().list().size(), 2);
    EXPECT_TRUE(store().newestSound());
    EXPECT_EQ(folderFiles(), files);
}

TEST_F(SnapshotTest, SnapshotsDatedInTheFutureNeverPushOutOneTakenNow) {
    addMovies(2);
    for (int i = 0; i < 21; ++i) {
        storeOf(catalogue, now.addYears(7).addSecs(i)).make(SnapshotReason::Import);
    }
    EXPECT_EQ(store().futureDated().size(), 20);
    EXPECT_TRUE(store().dailyDue());
    const QString taken = store().make(SnapshotReason::Manual);
    now = now.addSecs(60);
    store().make(SnapshotReason::Import);
    EXPECT_TRUE(QFile::exists(taken));
    ASSERT_EQ(store().list().size(), 20);
    EXPECT_EQ(store().list().at(1).path, taken);
}

TEST_F(SnapshotTest, RestoringTheCatalogueOntoItselfSaysSo) {
    addMovies(3);
    const QString link = dir.path() + QStringLiteral("/link.mdb");
    ASSERT_TRUE(QFile::link(catalogue, link));
    for (const QString& file : {catalogue, link}) {
        try {
            store().restore(file);
            ADD_FAILURE() << "restored";
        } catch (const SnapshotFailure& failure) {
            EXPECT_TRUE(failure.description().contains(QStringLiteral("is the catalogue itself")))
                << failure.description().toStdString();
        }
    }
    EXPECT_EQ(folderFiles(), QStringList());
}

} // namespace
