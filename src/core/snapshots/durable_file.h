#pragma once

#include <QString>

// A system error number in plain words ("the disk is full", ...).
QString describeSystemError(int error);

// Forces what was written to a file, or the names in a folder, onto the
// disk. Throws SnapshotFailure (NotMade) when the system refuses.
void syncToDisk(const QString& path);

// Gives the file `from` the name `to` in one step, never replacing a file
// already called `to`: returns false then, and `from` keeps its name. Two
// programs claiming the same name at once cannot both succeed. Throws
// SnapshotFailure (NotMade) on any other refusal.
bool renameWithoutReplacing(const QString& from, const QString& to);
