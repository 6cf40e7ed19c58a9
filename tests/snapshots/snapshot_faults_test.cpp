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
    qsizetype unfinished() const {
        const QFileInfoList files =
            QDir(store().folder())
                .entryInfoList({QStringLiteral(".dbDVD-*.partial")}, QDir::Files | QDir::Hidden);
        return std::count_if(files.begin(), files.end(), [](const auto& f) { return f.size(); });
    }
};

// Killed while snapshotting, the catalogue is untouched; killed while
// restoring, it holds the old or the new contents once reopened. Either
// way every listed snapshot is complete.
TEST_F(SnapshotFaults, AProgramKilledMidwayLosesNothingAndListsNoHalfSnapshot) {
    addMovies(kLargeCatalogue);
    const QString oldContents = dir.path() + QStringLiteral("/old.mdb");
    const QString newContents = dir.path() + QStringLiteral("/new.mdb");
    ASSERT_TRUE(QFile::copy(catalogue, oldContents));
    TempCatalogue::exec(catalogue, QStringLiteral("delete from dvd where id % 2 = 0"));
    addMovies(100);
    ASSERT_TRUE(QFile::copy(catalogue, newContents));
    const QList<QByteArray> either = {TempCatalogue::checksum(oldContents),
                                      TempCatalogue::checksum(newContents)};

    for (bool restoring : {false, true}) {
        int killedMidway = 0;
        for (int afterMs : kKillAfterMs) {
            SCOPED_TRACE(
                QStringLiteral("restoring %1, %2 ms").arg(restoring).arg(afterMs).toStdString());
            const QByteArray before = TempCatalogue::checksum(catalogue);
            const qsizetype unfinishedBefore = unfinished();
            const auto underWay = [&] {
                return restoring ? journalIsHot(catalogue) : unfinished() > unfinishedBefore;
            };
            killMidway(
                [&] {
                    Catalogue open;
                    open.open(catalogue);
                    for (;;) {
                        if (restoring) {
                            store().restore(oldContents, open);
                            store().restore(newContents, open);
                        } else {
                            store().make(open, SnapshotReason::Daily);
                        }
                    }
                },
                underWay, afterMs);
            killedMidway += underWay();
            { // the next program to open it undoes an interrupted change
                const SqliteDatabase reopened(catalogue, SqliteDatabase::Access::ReadWrite);
                EXPECT_TRUE(checkCatalogue(reopened, CheckDepth::Full).ok());
            }
            const QByteArray after = TempCatalogue::checksum(catalogue);
            EXPECT_TRUE(restoring ? either.contains(after) : after == before);
            for (const Snapshot& snapshot : store().list()) {
                EXPECT_TRUE(checkCatalogue(snapshot.path, CheckDepth::Quick).ok());
                EXPECT_TRUE(snapshot.movies == kLargeCatalogue ||
                            snapshot.movies == kLargeCatalogue / 2 + 100);
            }
        }
        EXPECT_GE(killedMidway, 1);
    }
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

// A backups folder that is a file, or read-only (checked as user nobody, as
// root may write anywhere): the restore refuses to go on without its
// snapshot of the current contents, unless told to.
TEST_F(SnapshotFaults, AFolderThatCannotTakeSnapshotsIsReportedAndRestoreMayGoOnWithout) {
    addMovies(20);
    const QString other = dir.path() + QStringLiteral("/other.mdb");
    ASSERT_TRUE(QFile::copy(catalogue, other));
    TempCatalogue::exec(other, QStringLiteral("delete from dvd where id > 5"));
    const QByteArray rows = TempCatalogue::checksum(catalogue);
    const QString folder = store().folder();
    const std::function<void()> makeFile = [&] { QFile(folder).open(QIODevice::WriteOnly); };
    const std::function<void()> makeReadOnly = [&] {
        QDir().mkdir(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                          QFile::ExeOther);
    };
    for (const auto& [spoil, says] : {std::pair{makeFile, "is a file, not a folder"},
                                      std::pair{makeReadOnly, "is read-only"}}) {
        QFile::remove(folder);
        QDir(folder).removeRecursively();
        spoil();
        const QString outcome = inChild(
            [&] {
                try {
                    return store().restore(other);
                } catch (const SnapshotFailure& failure) {
                    return failure.kind() == SnapshotFailure::Kind::NotMade
                               ? QStringLiteral("not made: ") + failure.description()
                               : failure.description();
                }
            },
            true);
        EXPECT_TRUE(outcome.startsWith(QStringLiteral("not made: Nothing was restored")) &&
                    outcome.contains(QLatin1String(says)))
            << outcome.toStdString();
        EXPECT_EQ(TempCatalogue::checksum(catalogue), rows);
    }
    QDir(folder).removeRecursively();
    makeFile();
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
    EXPECT_EQ(folderFiles().size(), 15);
    const QList<Snapshot> listed = store().list();
    EXPECT_EQ(listed.size(), 15);
    EXPECT_TRUE(std::all_of(listed.begin(), listed.end(), [](const Snapshot& s) {
        return s.movies == 500 && checkCatalogue(s.path, CheckDepth::Quick).ok();
    }));
}

} // namespace
