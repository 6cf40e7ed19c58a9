#include "core/snapshots/retention.h"

#include <QSet>

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
