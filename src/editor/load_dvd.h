#pragma once

#include <QString>

class Catalogue;
class Form2;
class MessageBoxes;

enum class LoadResult { Loaded, NoSuchMovie, Unreadable };

// Reads the catalogue row with that id into the record editor and puts the
// editor into edit mode for it; the editor remembers the row as read, so
// that its Save notices a change another program made meanwhile. When no
// such row exists, or the row cannot be read, the editor is left as it is
// (so it opens empty, for a new movie). Does not show the editor.
LoadResult loadDVD(Form2& form, const QString& id, Catalogue& catalogue, MessageBoxes& boxes);
