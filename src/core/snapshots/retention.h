#pragma once

#include "core/snapshots/snapshot_name.h"

#include <QDateTime>
#include <QList>

// How many snapshots are always kept, newest first.
inline constexpr int kKeepNewest = 20;
// For how many days (today included) the newest snapshot of each day is kept.
inline constexpr int kKeepDays = 7;

// Sorts snapshots newest first as the program saw them at `now`: one whose
// name is dated after `now` was made while the clock was wrong, so it counts
// as older than every other and cannot hold the newest places.
void sortAsSeen(QList<SnapshotName>& names, const QDateTime& now);

// Which of the snapshots (newest first, as sortAsSeen leaves them) to keep at `now`: the newest
// kKeepNewest, the newest of each of the last kKeepDays days, and the newest
// one taken before `lastChange`, the catalogue's last change, since it holds
// what that change replaced. An invalid lastChange protects nothing extra.
QList<bool> snapshotsToKeep(const QList<SnapshotName>& newestFirst, const QDateTime& now,
                            const QDateTime& lastChange);
