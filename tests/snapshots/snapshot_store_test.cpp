// Making, listing, pruning, restoring snapshots, and the health check.
#include "core/snapshots/catalogue_check.h"
#include "snapshot_fixture.h"

namespace {

TEST_F(SnapshotTest, MakesCompleteNamedSnapshotsAndListsOnlyThoseNewestFirst) {
    addMovies(3);
    const QString first = store().make(SnapshotReason::Clear);
    EXPECT_EQ(first, store().folder() + QStringLiteral("/dbDVD-20240305-141516-clear.mdb"));
    addMovies(2);
    Catalogue open;
    open.open(catalogue);
    const QString second = store().make(open, SnapshotReason::Manual);
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("dbDVD-20240305-141516_02.mdb"));
    EXPECT_EQ(TempCatalogue::checksum(second), TempCatalogue::checksum(catalogue));
    // Neither an unfinished nor an unreadable file is offered.
    writeFile(store().folder() + QStringLiteral("/.dbDVD-x1y2z3.partial"), "SQLite format 3");
    writeFile(store().folder() + QStringLiteral("/dbDVD-20240305-141517.mdb"), "not a database");

    const QList<Snapshot> listed = store().list();
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0].path, second);
    EXPECT_EQ(listed[0].movies, 5);
    EXPECT_EQ(listed[1].movies, 3);
    EXPECT_EQ(listed[1].name.reason, SnapshotReason::Clear);
    EXPECT_EQ(store().newestSound()->path, second);
}

TEST_F(SnapshotTest, PruningDeletesOldSnapshotsAndAbandonedUnfinishedOnes) {
    for (int i = 0; i < 25; ++i, now = now.addSecs(60)) {
        store().make(SnapshotReason::Manual);
    }
    writeFile(store().folder() + QStringLiteral("/.dbDVD-old123.partial"), "");
    EXPECT_EQ(store().list().size(), 20);
    now = QDateTime::currentDateTime().addSecs(2 * 3600); // the unfinished file is 2 hours old
    EXPECT_EQ(store().prune(QDateTime()),
              QStringList{store().folder() + QStringLiteral("/.dbDVD-old123.partial")});
}

TEST_F(SnapshotTest, DailySnapshotIsDueOnceADayAfterAChange) {
    EXPECT_TRUE(store().dailyDue()); // none yet
    store().make(SnapshotReason::Daily);
    EXPECT_FALSE(store().dailyDue()); // one today
    const auto changedAt = [&](const QDateTime& when) {
        QFile file(catalogue);
        return file.open(QIODevice::ReadWrite) &&
               file.setFileTime(when, QFileDevice::FileModificationTime);
    };
    now = now.addDays(1);
    ASSERT_TRUE(changedAt(now.addDays(-2)));
    EXPECT_FALSE(store().dailyDue()); // unchanged since
    ASSERT_TRUE(changedAt(now.addDays(-1).addSecs(30)));
    EXPECT_TRUE(store().dailyDue());
}

TEST_F(SnapshotTest, RestorePutsTheSnapshotBackAfterSnapshottingTheCurrentContents) {
    addMovies(40);
    const QByteArray before = TempCatalogue::checksum(catalogue);
    const QString snapshot = store().make(SnapshotReason::Clear);
    TempCatalogue::exec(catalogue, QStringLiteral("delete from [dvd]"));
    addMovies(1);
    const QByteArray cleared = TempCatalogue::checksum(catalogue);

    now = now.addSecs(5);
    Catalogue open;
    open.open(catalogue);
    const QString safety = store().restore(snapshot, open);
    EXPECT_EQ(TempCatalogue::checksum(catalogue), before);
    EXPECT_EQ(QFileInfo(safety).fileName(), QStringLiteral("dbDVD-20240305-141521-restore.mdb"));
    EXPECT_EQ(TempCatalogue::checksum(safety), cleared);
}

TEST_F(SnapshotTest, ADamagedSnapshotIsNotRestoredAndNothingChanges) {
    addMovies(2000);
    const QString snapshot = store().make(SnapshotReason::Manual);
    writeFile(snapshot, QByteArray(8192, '\x5a'), QFileInfo(snapshot).size() / 2);
    const QByteArray before = TempCatalogue::fileBytes(catalogue);
    try {
        store().restore(snapshot);
        ADD_FAILURE() << "restored";
    } catch (const SnapshotFailure& failure) {
        EXPECT_EQ(failure.kind(), SnapshotFailure::Kind::Damaged);
        EXPECT_TRUE(failure.description().contains(QStringLiteral("damaged")));
    }
    EXPECT_EQ(TempCatalogue::fileBytes(catalogue), before);
    EXPECT_EQ(folderFiles().size(), 1); // no safety snapshot either
}

TEST_F(SnapshotTest, ACatalogueSQLiteCannotOpenIsReplacedAndKept) {
    addMovies(5);
    const QString snapshot = store().make(SnapshotReason::Manual);
    const QByteArray garbage = QByteArray("My movies:\nAlien\n").repeated(400);
    writeFile(catalogue, garbage);
    EXPECT_EQ(TempCatalogue::fileBytes(store().restore(snapshot)), garbage);
    EXPECT_EQ(TempCatalogue::checksum(catalogue), TempCatalogue::checksum(snapshot));
}

struct Spoil {
    const char* sql;     // run on the catalogue, then
    qint64 keepBytes;    // cut the file to this size (0: leave it; -1: spoil its header)
    const char* problem; // named by the check ("ok" for a sound catalogue)
};

const Spoil kSpoiled[] = {
    {"", 0, "ok"},
    {"alter table dvd drop column studio", 0, "no column studio"},
    {"drop table dvd; create table notes (body text)", 0, "no table of movies"},
    {"drop table dvd; create table dvd (id text, title, year, genre, cast, director, runtime, "
     "rating, studio)",
     0, "not an integer primary key"},
    {"", 40000, "damaged"},
    {"", -1, "not a Reelkeeper catalogue"},
};

TEST_F(SnapshotTest, CheckNamesEachProblemAndNeverChangesTheFile) {
    for (const Spoil& spoil : kSpoiled) {
        SCOPED_TRACE(spoil.problem);
        QFile::remove(catalogue);
        TempCatalogue::createCatalogue(catalogue);
        addMovies(3000);
        if (*spoil.sql) {
            TempCatalogue::exec(catalogue, QString::fromLatin1(spoil.sql));
        }
        if (spoil.keepBytes > 0) {
            QFile::resize(catalogue, spoil.keepBytes);
        } else if (spoil.keepBytes < 0) {
            writeFile(catalogue, "Nothing like SQLite", 0);
        }
        const QByteArray before = TempCatalogue::fileBytes(catalogue);
        for (CheckDepth depth : {CheckDepth::Quick, CheckDepth::Full}) {
            const CheckResult result = checkCatalogue(catalogue, depth);
            EXPECT_EQ(result.ok(), QLatin1String(spoil.problem) == QLatin1String("ok"));
            EXPECT_TRUE(result.text().contains(QLatin1String(spoil.problem)))
                << result.text().toStdString();
        }
        EXPECT_EQ(TempCatalogue::fileBytes(catalogue), before);
    }
    EXPECT_FALSE(checkCatalogue(dir.path() + QStringLiteral("/none.mdb"), CheckDepth::Quick).ok());
}

} // namespace
