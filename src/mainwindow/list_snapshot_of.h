#pragma once

#include "core/formats/list_snapshot.h"

class ListView;

// The movie list as it stands now: captions, cells and ticks, for an export.
ListSnapshot snapshotOfList(const ListView& list);
