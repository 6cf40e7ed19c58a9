#include "core/snapshots/retention.h"

#include <QSet>
#include <algorithm>

void sortAsSeen(QList<SnapshotName>& names, const QDateTime& now) {
    std::sort(names.begin(), names.end(), [&now](const SnapshotName& a, const SnapshotName& b) {
        const bool aFuture = a.taken > now;
        const bool bFuture = b.taken > now;
        return aFuture != bFuture ? bFuture : SnapshotName::newerFirst(a, b);
    });
}

QList<bool> snapshotsToKeep(const QList<SnapshotName>& newestFirst, const QDateTime& now,
                            const QDateTime& lastChange) {
    QList<bool> keep(newestFirst.size(), false);
    const QDate firstKeptDay = now.date().addDays(-(kKeepDays - 1));
    QSet<QDate> daysSeen;
    bool beforeChangeSeen = !lastChange.isValid();
    for (qsizetype i = 0; i < newestFirst.size(); ++i) {
        const QDateTime& taken = newestFirst.at(i).taken;
        const QDate day = taken.date();
        if (i < kKeepNewest) {
            keep[i] = true;
        }
        if (day >= firstKeptDay && day <= now.date() && !daysSeen.contains(day)) {
            daysSeen.insert(day);
            keep[i] = true;
        }
        if (!beforeChangeSeen && taken < lastChange) {
            beforeChangeSeen = true;
            keep[i] = true;
        }
    }
    return keep;
}
