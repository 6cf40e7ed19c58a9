// reelkeeper-cli backup, snapshots, restore and check on a scratch catalogue.
#include "cli/cli_fixture.h"
#include "support/qt_printers.h"
#include "support/temp_catalogue.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class SnapshotCommandsTest : public CliTest {
protected:
    SnapshotCommandsTest() {
        TempCatalogue::createCatalogue(file);
        TempCatalogue::addMovies(file, {{"Alien", "1979"}, {"Heat", "1995"}});
    }
    int run(const QStringList& arguments) { return runOn(file, arguments); }
    // Garbage over the header of every `every`-th page after the first.
    void writeGarbage(int every) {
        QFile damaged(file);
        ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
        for (qint64 page = every; page * 4096 < damaged.size(); page += every) {
            damaged.seek(page * 4096);
            damaged.write(QByteArray(64, '\x5a'));
        }
    }
    QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
};

TEST_F(SnapshotCommandsTest, BackupListAndRestoreBringEveryMovieBack) {
    ASSERT_EQ(run({"snapshots"}), Cli::kExitDone) << errText().toStdString();
    EXPECT_EQ(errText(), QStringLiteral("No snapshots yet.\n"));
    EXPECT_TRUE(out.data().isEmpty());

    ASSERT_EQ(run({"backup"}), Cli::kExitDone) << errText().toStdString();
    const QString snapshot = outText().trimmed();
    EXPECT_TRUE(snapshot.startsWith(dirs.root() + QStringLiteral("/backups/dbDVD-")));
    EXPECT_TRUE(snapshot.endsWith(QStringLiteral(".mdb")));
    EXPECT_EQ(TempCatalogue::rows(snapshot, "title"), (QStringList{"Alien", "Heat"}));

    TempCatalogue::exec(file, QStringLiteral("delete from dvd"));
    ASSERT_EQ(run({"restore", snapshot}), Cli::kExitDone) << errText().toStdString();
    const QString before = outText().trimmed();
    EXPECT_TRUE(before.endsWith(QStringLiteral("-restore.mdb"))) << before.toStdString();
    EXPECT_EQ(TempCatalogue::rows(file, "title"), (QStringList{"Alien", "Heat"}));
    EXPECT_TRUE(TempCatalogue::rows(before, "title").isEmpty());

    // Newest first: the empty state saved by the restore, then the backup.
    ASSERT_EQ(run({"snapshots"}), Cli::kExitDone) << errText().toStdString();
    const QStringList lines = outText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << outText().toStdString();
    const QStringList newest = lines.at(0).split('\t');
    const QStringList oldest = lines.at(1).split('\t');
    ASSERT_EQ(newest.size(), 4);
    EXPECT_EQ(newest.mid(1), (QStringList{"restore", "0", before}));
    EXPECT_EQ(oldest.mid(1), (QStringList{"manual", "2", snapshot}));
    EXPECT_EQ(newest.at(0).size(), 19); // yyyy-MM-dd HH:mm:ss
}

TEST_F(SnapshotCommandsTest, CheckSaysOkOrWhatIsWrongAndNeverChangesTheFile) {
    EXPECT_EQ(run({"check"}), Cli::kExitDone);
    EXPECT_EQ(outText(), QStringLiteral("ok\n"));
    EXPECT_EQ(run({"check", "--quick"}), Cli::kExitDone);

    TempCatalogue::exec(file, QStringLiteral("alter table dvd drop column studio"));
    const QByteArray before = TempCatalogue::fileBytes(file);
    EXPECT_EQ(run({"check"}), Cli::kExitFailed);
    EXPECT_TRUE(outText().contains(QStringLiteral("studio"))) << outText().toStdString();
    EXPECT_EQ(TempCatalogue::fileBytes(file), before);

    QFile::remove(file);
    QFile text(file);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4096, 'x'));
    text.close();
    EXPECT_EQ(run({"check"}), Cli::kExitFailed);
    EXPECT_TRUE(outText().contains(QStringLiteral("the file is not a Reelkeeper catalogue")))
        << outText().toStdString();

    QFile::remove(file);
    EXPECT_EQ(run({"check"}), Cli::kExitFailed);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(SnapshotCommandsTest, CheckSaysWhatASalvageWouldSaveAndSalvageSavesIt) {
    EXPECT_EQ(run({"salvage"}), Cli::kExitDone);
    EXPECT_EQ(outText(), QStringLiteral("The catalogue is sound: nothing to salvage.\n"));
    QList<QStringList> filler;
    for (int i = 1; i <= 3000; ++i) {
        filler.append({QStringLiteral("M%1").arg(i), {}, {}, QString(150, u'x')});
    }
    TempCatalogue::addMovies(file, filler);
    writeGarbage(30);

    EXPECT_EQ(run({"check", "--quick"}), Cli::kExitFailed);
    // Counts are grouped in thousands ("2 910").
    const QRegularExpression would(QStringLiteral("would save (\\d+ \\d+) movie"));
    const QString grouped = would.match(outText()).captured(1);
    const QString count = QString(grouped).remove(QLatin1Char(' '));
    EXPECT_GT(count.toInt(), 2900) << outText().toStdString();

    ASSERT_EQ(run({"salvage"}), Cli::kExitDone) << errText().toStdString();
    EXPECT_TRUE(outText().startsWith(QStringLiteral("Saved %1 movie(s).\n").arg(grouped)))
        << outText().toStdString();
    EXPECT_TRUE(
        outText().contains(QStringLiteral("kept as %1/backups/damaged-dbDVD-").arg(dirs.root())));
    EXPECT_EQ(run({"check"}), Cli::kExitDone) << outText().toStdString();
    EXPECT_EQ(TempCatalogue::rows(file).size(), count.toInt());
}

TEST_F(SnapshotCommandsTest, CheckReportsForeignTriggersAndFutureSnapshotsRestoreNeedsConsent) {
    const QString foreign = dirs.root() + QStringLiteral("/foreign.mdb");
    TempCatalogue::createCatalogue(foreign);
    TempCatalogue::exec(foreign, QStringLiteral("create trigger wipe after insert on dvd begin "
                                                "delete from dvd where id < new.id; end"));
    QDir().mkpath(dirs.root() + QStringLiteral("/backups"));
    ASSERT_TRUE(
        QFile::copy(file, dirs.root() + QStringLiteral("/backups/dbDVD-29991231-000000.mdb")));

    EXPECT_EQ(run({"check"}), Cli::kExitFailed);
    EXPECT_EQ(outText(), QStringLiteral("The snapshot dbDVD-29991231-000000.mdb is dated in the "
                                        "future: the clock was wrong when it was made.\n"));
    EXPECT_EQ(run({"restore", foreign}), Cli::kExitFailed);
    EXPECT_TRUE(errText().contains(QStringLiteral("(trigger wipe)"))) << errText().toStdString();
    EXPECT_EQ(TempCatalogue::rows(file).size(), 2);
    ASSERT_EQ(run({"restore", "--allow-triggers", foreign}), Cli::kExitDone);
    EXPECT_EQ(run({"check"}), Cli::kExitFailed);
    EXPECT_TRUE(outText().startsWith(
        QStringLiteral("The file holds a trigger the program did not make: wipe.")));
}

TEST_F(SnapshotCommandsTest, FailuresAndMisuseLeaveTheCatalogueAlone) {
    const QByteArray before = TempCatalogue::fileBytes(file);
    struct Case {
        QStringList arguments;
        int status;
        const char* err;
    };
    const Case cases[] = {
        {{"restore"}, Cli::kExitNotUnderstood, "restore needs the argument FILE"},
        {{"restore", "a", "b"}, Cli::kExitNotUnderstood, "takes no further argument 'b'"},
        {{"backup", "x"}, Cli::kExitNotUnderstood, "backup takes no argument 'x'"},
        {{"restore", file + ".missing"}, Cli::kExitFailed, "reelkeeper-cli: "},
        {{"restore", file}, Cli::kExitFailed, "is the catalogue itself"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.arguments), c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(errText().contains(QLatin1String(c.err))) << errText().toStdString();
        EXPECT_EQ(TempCatalogue::fileBytes(file), before);
    }
    // A folder "backups" that is a file: the backup is refused, nothing else changes.
    const QString folder = dirs.root() + QStringLiteral("/backups");
    QDir(folder).removeRecursively();
    ASSERT_TRUE(QFile(folder).open(QIODevice::WriteOnly));
    EXPECT_EQ(run({"backup"}), Cli::kExitFailed);
    EXPECT_TRUE(out.data().isEmpty());
    EXPECT_EQ(TempCatalogue::fileBytes(file), before);
}

} // namespace
