// Faults during snapshots and restores: a program killed midway, a full
// disk, a folder that cannot take snapshots, two programs at once. No fault
// may lose a movie, mix old and new contents, or leave a half snapshot listed.
#include "core/snapshots/catalogue_check.h"
#include "snapshot_fixture.h"

#include <QElapsedTimer>
#include <csignal>
#include <sys/resource.h>

namespace {

constexpr int kLargeCatalogue = 60000;
// How long after the operation is seen under way the program is killed.
constexpr int kKillAfterMs[] = {0, 3, 15};

// Whether the rollback journal beside `catalogue` is hot: its header is
// written only once the old pages are on the disk, just before the
// catalogue's own pages start to be overwritten.
bool journalIsHot(const QString& catalogue) {
    QFile journal(catalogue + QStringLiteral("-journal"));
    return journal.open(QIODevice::ReadOnly) &&
           journal.read(8) == QByteArray::fromHex("d9d505f920a163d7");
}

class SnapshotFaults : public SnapshotTest {
protected:
    // Starts `loop` in a child, kills it `afterMs` after `underWay` holds.
    void killMidway(const std::function<void()>& loop, const std::function<bool()>& underWay,
                    int afterMs) {
        const pid_t child = startChild(loop);
        QElapsedTimer waited;
        waited.start();
        while (!underWay() && waited.elapsed() < 60000) {
            usleep(100);
        }
        usleep(useconds_t(afterMs) * 1000);
        kill(child, SIGKILL);
        const int status = waitFor(child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    }
    // Unfinished snapshots that hold some pages already.
    QStringList unfinished() const {
        QStringList names;
        for (const QFileInfo& file :
             QDir(store().folder())
                 .entryInfoList({QStringLiteral(".dbDVD-*.partial")}, QDir::Files | QDir::Hidden)) {
            if (file.size() > 0) {
                names << file.fileName();
            }
        }
        return names;
    }
    // Every listed snapshot is sound and holds one of `counts` movies.
    void expectOnlyCompleteSnapshots(const QList<qint64>& counts) {
        for (const Snapshot& snapshot : store().list()) {
            EXPECT_TRUE(checkCatalogue(snapshot.path, CheckDepth::Quick).ok());
            EXPECT_TRUE(counts.contains(snapshot.movies)) << snapshot.movies;
        }
    }
};

TEST_F(SnapshotFaults, KilledDuringASnapshotLeavesNoPartialSnapshotListed) {
    addMovies(kLargeCatalogue);
    const QByteArray rows = TempCatalogue::checksum(catalogue);
    store().make(SnapshotReason::Manual);
    for (int afterMs : kKillAfterMs) {
        SCOPED_TRACE(afterMs);
        const QStringList before = unfinished();
        killMidway(
            [&] {
                for (;;) {
                    store().make(SnapshotReason::Daily);
                }
            },
            [&] { return unfinished().size() > before.size(); }, afterMs);
        expectOnlyCompleteSnapshots({kLargeCatalogue});
        EXPECT_GE(store().list().size(), 1);
        EXPECT_EQ(TempCatalogue::checksum(catalogue), rows);
        EXPECT_TRUE(checkCatalogue(catalogue, CheckDepth::Full).ok());
    }
    EXPECT_FALSE(unfinished().isEmpty()); // some kill did land in the middle of a snapshot
}

TEST_F(SnapshotFaults, KilledDuringARestoreLeavesTheOldOrTheNewContentsNeverAMix) {
    addMovies(kLargeCatalogue);
    const QString oldContents = dir.path() + QStringLiteral("/old.mdb");
    const QString newContents = dir.path() + QStringLiteral("/new.mdb");
    ASSERT_TRUE(QFile::copy(catalogue, oldContents));
    TempCatalogue::exec(catalogue, QStringLiteral("delete from dvd where id % 2 = 0"));
    addMovies(100);
    ASSERT_TRUE(QFile::copy(catalogue, newContents));
    const QList<QByteArray> either = {TempCatalogue::checksum(oldContents),
                                      TempCatalogue::checksum(newContents)};

    int killedWhileOverwriting = 0;
    for (int afterMs : kKillAfterMs) {
        SCOPED_TRACE(afterMs);
        killMidway(
            [&] {
                const SqliteFile open(catalogue, SqliteFile::Access::ReadWrite);
                for (;;) {
                    store().restore(oldContents, open.handle());
                    store().restore(newContents, open.handle());
                }
            },
            [&] { return journalIsHot(catalogue); }, afterMs);
        killedWhileOverwriting += journalIsHot(catalogue);
        { // the next program to open it undoes the interrupted change
            const SqliteFile reopened(catalogue, SqliteFile::Access::ReadWrite);
            EXPECT_TRUE(checkCatalogue(reopened.handle(), CheckDepth::Full).ok());
        }
        EXPECT_TRUE(either.contains(TempCatalogue::checksum(catalogue)));
        expectOnlyCompleteSnapshots({kLargeCatalogue, kLargeCatalogue / 2 + 100});
    }
    EXPECT_GE(killedWhileOverwriting, 1);
}

TEST_F(SnapshotFaults, AFullDiskIsReportedAndLeavesNothingBehind) {
    addMovies(3000);
    const QByteArray rows = TempCatalogue::checksum(catalogue);
    const QString outcome = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit almostFull{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &almostFull);
        return store().make(SnapshotReason::Clear);
    });
    EXPECT_TRUE(outcome.startsWith(QStringLiteral("failed: Could not make a snapshot")) &&
                outcome.contains(QStringLiteral("larger than this system allows")))
        << outcome.toStdString();
    EXPECT_EQ(folderFiles(), QStringList());
    EXPECT_EQ(TempCatalogue::checksum(catalogue), rows);
}

struct BadFolder {
    const char* name;
    std::function<void(const QString& folder)> spoil;
    const char* says;
};

const BadFolder kBadFolders[] = {
    {"a file", [](const QString& f) { QFile(f).open(QIODevice::WriteOnly); }, "is a file"},
    {"read-only",
     [](const QString& f) {
         QDir().mkpath(f);
         QFile::setPermissions(f, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                      QFile::ExeOther);
     },
     "read-only"},
};

TEST_F(SnapshotFaults, AFolderThatCannotTakeSnapshotsIsReportedAndRestoreMayGoOnWithout) {
    addMovies(20);
    const QString other = dir.path() + QStringLiteral("/other.mdb");
    ASSERT_TRUE(QFile::copy(catalogue, other));
    TempCatalogue::exec(other, QStringLiteral("delete from dvd where id > 5"));
    const QString folder = store().folder();
    for (const BadFolder& bad : kBadFolders) {
        SCOPED_TRACE(bad.name);
        QFile::remove(folder);
        QDir(folder).removeRecursively();
        bad.spoil(folder);
        const QByteArray rows = TempCatalogue::checksum(catalogue);
        const QString outcome = inChild(
            [&] {
                try {
                    store().restore(other);
                } catch (const SnapshotFailure& failure) {
                    return QStringLiteral("%1: %2 | %3")
                        .arg(failure.kind() == SnapshotFailure::Kind::NotMade ? "not made"
                                                                              : "other")
                        .arg(failure.description())
                        .arg(TempCatalogue::rows(catalogue).size());
                }
                return QStringLiteral("restored without a snapshot");
            },
            true);
        EXPECT_TRUE(outcome.startsWith(QStringLiteral("not made: ")) &&
                    outcome.contains(QLatin1String(bad.says)) && outcome.endsWith(" | 20"))
            << outcome.toStdString();
        EXPECT_EQ(TempCatalogue::checksum(catalogue), rows);
    }
    // Told to go on without one, the restore goes on.
    QDir(folder).removeRecursively();
    kBadFolders[0].spoil(folder);
    EXPECT_EQ(store().restore(other, SnapshotStore::SafetySnapshot::IfPossible), QString());
    EXPECT_EQ(TempCatalogue::rows(catalogue).size(), 5);
}

TEST_F(SnapshotFaults, TwoProgramsSnapshottingInTheSameSecondKeepEverySnapshot) {
    addMovies(500);
    std::vector<pid_t> children;
    for (int c = 0; c < 3; ++c) {
        children.push_back(startChild([&] {
            for (int i = 0; i < 5; ++i) {
                store().make(SnapshotReason::Manual);
            }
        }));
    }
    for (pid_t child : children) {
        EXPECT_EQ(waitFor(child), 0);
    }
    EXPECT_EQ(store().list().size(), 15);
    EXPECT_EQ(folderFiles().size(), 15);
    expectOnlyCompleteSnapshots({500});
}

} // namespace
