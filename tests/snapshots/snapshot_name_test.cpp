// Snapshot file names and which snapshots the retention rule keeps.
#include "core/snapshots/retention.h"
#include "core/snapshots/snapshot_name.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kNoon(QDate(2024, 3, 5), QTime(12, 0, 0));

TEST(SnapshotName, RoundTripsAndSortsByAgeAsNamesSort) {
    const SnapshotName names[] = {
        {kNoon, 1, SnapshotReason::Manual},    {kNoon, 1, SnapshotReason::Daily},
        {kNoon, 2, SnapshotReason::Clear},     {kNoon, 10, SnapshotReason::Import},
        {kNoon, 101, SnapshotReason::Restore}, {kNoon.addSecs(1), 1, SnapshotReason::Manual},
    };
    EXPECT_EQ(names[0].fileName(), QStringLiteral("dbDVD-20240305-120000.mdb"));
    EXPECT_EQ(names[2].fileName(), QStringLiteral("dbDVD-20240305-120000_02-clear.mdb"));
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const auto parsed = SnapshotName::parse(names[i].fileName(), QStringLiteral("dbDVD"));
        ASSERT_TRUE(parsed) << names[i].fileName().toStdString();
        EXPECT_EQ(parsed->taken, names[i].taken);
        EXPECT_EQ(parsed->sequence, names[i].sequence);
        EXPECT_EQ(parsed->reason, names[i].reason);
        if (i > 1) { // a later sequence or second sorts after by name and by age
            EXPECT_LT(names[i - 1].fileName(), names[i].fileName());
            EXPECT_TRUE(SnapshotName::newerFirst(names[i], names[i - 1]));
        }
    }
}

TEST(SnapshotName, OtherFilesAreNoSnapshots) {
    for (const char* name :
         {"dbDVD.mdb", ".dbDVD-a1B2c3.partial", "dbDVD-20240305-120000.mdb-journal",
          "dbDVD-20240305-120000-oops.mdb", "dbDVD-20241305-120000.mdb",
          "dbDVD-20240305-120000_01.mdb", "dbDVD-20240305-120000_002.mdb",
          "damaged-dbDVD-20240305-120000.mdb", "dbDVD-20240305-1200.mdb"}) {
        EXPECT_FALSE(SnapshotName::parse(QString::fromLatin1(name), QStringLiteral("dbDVD")))
            << name;
    }
}

// Catalogues sharing a folder: each stem reads only its own names, however
// the stems resemble each other.
TEST(SnapshotName, BelongsToTheCatalogueItIsNamedAfter) {
    EXPECT_EQ(snapshotStem(QStringLiteral("/movies/films.mdb")), QStringLiteral("films"));
    EXPECT_EQ(
        (SnapshotName{kNoon, 2, SnapshotReason::Import, QStringLiteral("films-2")}.fileName()),
        QStringLiteral("films-2-20240305-120000_02-import.mdb"));
    const struct {
        const char* file;
        const char* stem;
        bool own;
    } cases[] = {
        {"films-20240305-120000.mdb", "films", true},
        {"films-2-20240305-120000-daily.mdb", "films-2", true},
        {"films-20240305-120000.mdb", "films-2", false},
        {"films-2-20240305-120000.mdb", "films", false},
        {"films-20240305-120000-20240306-120000.mdb", "films", false},
        {"films-20240305-120000-20240306-120000.mdb", "films-20240305-120000", true},
        {"dbDVD-20240305-120000.mdb", "films", false},
        {"films-20240305-120000.mdb", "dbDVD", false},
        {"Films-20240305-120000.mdb", "films", false},
    };
    for (const auto& c : cases) {
        const auto parsed =
            SnapshotName::parse(QString::fromLatin1(c.file), QString::fromLatin1(c.stem));
        EXPECT_EQ(bool(parsed), c.own) << c.file << " of " << c.stem;
        if (parsed) {
            EXPECT_EQ(parsed->fileName(), QString::fromLatin1(c.file));
        }
    }
}

// Snapshots `hoursAgo` before noon, newest first; the result is which are kept.
QString kept(const QList<int>& hoursAgo, const QDateTime& lastChange) {
    QList<SnapshotName> names;
    for (int hours : hoursAgo) {
        names << SnapshotName{kNoon.addSecs(-3600LL * hours), 1, SnapshotReason::Manual};
    }
    QString marks;
    for (bool keep : snapshotsToKeep(names, kNoon, lastChange)) {
        marks += keep ? QLatin1Char('k') : QLatin1Char('-');
    }
    return marks;
}

TEST(Retention, KeepsTheNewestTwentyTheNewestOfEachOfSevenDaysAndTheLastBeforeAChange) {
    // 30 snapshots an hour apart (today's 13, then yesterday's), then one a day for ten days.
    QList<int> hours;
    for (int h = 0; h < 30; ++h) {
        hours << h;
    }
    const QString twentyKept = QString(20, 'k') + QString(10, '-');
    EXPECT_EQ(kept(hours, {}), twentyKept);
    for (int d = 2; d <= 11; ++d) {
        hours << 24 * d;
    }
    EXPECT_EQ(kept(hours, {}), twentyKept + "kkkkk-----");
    // A change eight days ago protects the snapshot just before it, and
    // a lone snapshot older than the change is never deleted.
    EXPECT_EQ(kept(hours, kNoon.addDays(-8).addSecs(1)), twentyKept + "kkkkk-k---");
    EXPECT_EQ(kept(hours + QList<int>{24 * 300}, kNoon.addDays(-200)), twentyKept + "kkkkk-----k");
}

} // namespace
