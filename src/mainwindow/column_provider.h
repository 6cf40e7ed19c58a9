#pragma once

#include "core/find/query.h"

#include <QHash>
#include <QString>
#include <QStringList>

// Words a cell carries for the find text only: from this character on, a
// cell's text is found (`loan:out`) but neither shown nor sorted by.
using Find::kFindOnly;

// A column a window feature offers beside the list's own: hidden until the
// person ticks it in the list header's menu, remembered once shown, and
// named in the find text as `id:text`. The feature registers it with
// WindowContext::addColumn and keeps it alive as long as the window.
class ColumnProvider {
public:
    virtual ~ColumnProvider() = default;

    // Names the column in the settings (ExtraColumns/<id>) and in the find
    // text: one lower-case word, "cover".
    virtual QString id() const = 0;
    // The column's header and its entry in the header's menu.
    virtual QString caption() const = 0;
    // What the find text reads in an empty cell, so that `id:no` finds the
    // movies without; empty when an empty cell reads as nothing.
    virtual QString emptyWord() const { return {}; }
    // Whether the cells are numbers, which the find text compares
    // (`copies:>1`, `copies:0`) instead of looking for the text in them.
    virtual bool numeric() const { return false; }
    // The state words its cells carry after kFindOnly, in lower case: typed
    // whole (`loan:out`), one finds only the cells carrying it.
    virtual QStringList stateWords() const { return {}; }
    // The text of every movie's cell by movie id, read in one go; movies
    // left out have an empty cell. Throws a Failure when it cannot be read.
    virtual QHash<qint64, QString> cells() = 0;
};
