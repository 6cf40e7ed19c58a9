// Making, listing, pruning, restoring snapshots, and the health check.
#include "core/snapshots/catalogue_check.h"
#include "snapshot_fixture.h"

namespace {

TEST_F(SnapshotTest, MakesCompleteNamedSnapshotsAndListsOnlyThoseNewestFirst) {
    addMovies(3);
    const QString first = store().make(SnapshotReason::Clear);
    EXPECT_EQ(first, store().folder() + QStringLiteral("/dbDVD-20240305-141516-clear.mdb"));
    addMovies(2);
    const SqliteFile open(catalogue, SqliteFile::Access::ReadWrite);
    const QString second = store().make(open.handle(), SnapshotReason::Manual);
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("dbDVD-20240305-141516_02.mdb"));
    EXPECT_EQ(TempCatalogue::checksum(second), TempCatalogue::checksum(catalogue));

    // Neither an unfinished nor an unreadable file is offered.
    QFile(store().folder() + QStringLiteral("/.dbDVD-x1y2z3.partial")).open(QIODevice::WriteOnly);
    QFile junk(store().folder() + QStringLiteral("/dbDVD-20240305-141517.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray("not a database").repeated(100));
    junk.close();

    const QList<Snapshot> listed = store().list();
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0].path, second);
    EXPECT_EQ(listed[0].movies, 5);
    EXPECT_EQ(listed[1].movies, 3);
    EXPECT_EQ(listed[1].name.reason, SnapshotReason::Clear);
    EXPECT_EQ(store().newestSound()->path, second);
}

TEST_F(SnapshotTest, PruningDeletesOldSnapshotsAndAbandonedUnfinishedOnes) {
    for (int i = 0; i < 25; ++i) {
        store().make(SnapshotReason::Manual);
        now = now.addSecs(60);
    }
    QFile(store().folder() + QStringLiteral("/.dbDVD-old123.partial")).open(QIODevice::WriteOnly);
    EXPECT_EQ(store().list().size(), 20);
    now = QDateTime::currentDateTime().addSecs(2 * 3600); // the unfinished file is 2 hours old
    const QStringList removed = store().prune(QDateTime());
    EXPECT_EQ(removed.size(), 1);
    EXPECT_TRUE(removed.value(0).endsWith(QStringLiteral(".partial")));
}

TEST_F(SnapshotTest, DailySnapshotIsDueOnceADayAfterAChange) {
    EXPECT_TRUE(store().dailyDue()); // none yet
    store().make(SnapshotReason::Daily);
    EXPECT_FALSE(store().dailyDue()); // one today
    auto setChanged = [&](const QDateTime& when) {
        QFile file(catalogue);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
    };
    now = now.addDays(1);
    setChanged(now.addDays(-2));
    EXPECT_FALSE(store().dailyDue()); // unchanged since
    setChanged(now.addDays(-1).addSecs(30));
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
    const SqliteFile open(catalogue, SqliteFile::Access::ReadWrite);
    const QString safety = store().restore(snapshot, open.handle());
    EXPECT_EQ(TempCatalogue::checksum(catalogue), before);
    EXPECT_EQ(QFileInfo(safety).fileName(), QStringLiteral("dbDVD-20240305-141521-restore.mdb"));
    EXPECT_EQ(TempCatalogue::checksum(safety), cleared);
    EXPECT_TRUE(checkCatalogue(open.handle(), CheckDepth::Full).ok());
}

TEST_F(SnapshotTest, ADamagedSnapshotIsNotRestoredAndNothingChanges) {
    addMovies(2000);
    const QString snapshot = store().make(SnapshotReason::Manual);
    QFile file(snapshot);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(file.size() / 2);
    file.write(QByteArray(8192, '\x5a'));
    file.close();
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
    QFile file(catalogue);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(garbage);
    file.close();
    const QString kept = store().restore(snapshot);
    EXPECT_EQ(TempCatalogue::fileBytes(kept), garbage);
    EXPECT_EQ(TempCatalogue::checksum(catalogue), TempCatalogue::checksum(snapshot));
}

struct Spoil {
    const char* name;
    const char* sql;     // run on the catalogue first
    qint64 keepBytes;    // then cut the file to this size (0: leave it)
    const char* problem; // a problem the check must name ("" for sound)
};

const Spoil kSpoiled[] = {
    {"sound", "", 0, ""},
    {"missing column", "alter table dvd drop column studio", 0, "no column studio"},
    {"no table", "drop table dvd; create table notes (body text)", 0, "no table of movies"},
    {"id not a row number",
     "drop table dvd; create table dvd (id text, title, year, genre, cast, director, runtime, "
     "rating, studio)",
     0, "not an integer primary key"},
    {"cut short", "", 40000, "damaged"},
    {"not a database", "", -1, "no catalogue"},
};

TEST_F(SnapshotTest, CheckNamesEachProblemAndNeverChangesTheFile) {
    for (const Spoil& spoil : kSpoiled) {
        SCOPED_TRACE(spoil.name);
        QFile::remove(catalogue);
        TempCatalogue::createCatalogue(catalogue);
        addMovies(3000);
        if (*spoil.sql) {
            TempCatalogue::exec(catalogue, QString::fromLatin1(spoil.sql));
        }
        QFile file(catalogue);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        if (spoil.keepBytes > 0) {
            file.resize(spoil.keepBytes);
        } else if (spoil.keepBytes < 0) {
            file.write("Nothing like SQLite");
        }
        file.close();
        const QByteArray before = TempCatalogue::fileBytes(catalogue);
        for (CheckDepth depth : {CheckDepth::Quick, CheckDepth::Full}) {
            const CheckResult result = checkCatalogue(catalogue, depth);
            EXPECT_EQ(result.ok(), !*spoil.problem) << result.text().toStdString();
            EXPECT_TRUE(
                result.text().contains(QLatin1String(*spoil.problem ? spoil.problem : "ok")))
                << result.text().toStdString();
        }
        EXPECT_EQ(TempCatalogue::fileBytes(catalogue), before);
    }
    EXPECT_FALSE(checkCatalogue(dir.path() + QStringLiteral("/none.mdb"), CheckDepth::Quick).ok());
}

} // namespace
