#pragma once

#include "core/snapshots/snapshot_name.h"

class Catalogue;
class MessageBoxes;

// Snapshots the open catalogue before a command that removes or replaces
// movies (a clear, an import), so that the command can be undone from the
// snapshot. When no snapshot can be made (disk full, folder read-only), says
// why and asks whether to go on anyway, No being the default. True when the
// command may go on: the snapshot was made or the user said Yes.
bool snapshotBeforeChange(Catalogue& catalogue, MessageBoxes& boxes, SnapshotReason reason);

// The question asked when no snapshot could be made, `why` being the
// reason in plain words: true on the user's Yes.
bool goOnWithoutSnapshot(MessageBoxes& boxes, const QString& why);
