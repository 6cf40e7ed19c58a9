#pragma once

#include <QString>

class Catalogue;
class Form2;
class MessageBoxes;

namespace modDVD {
// Reads the catalogue row with that id into the record editor and puts the
// editor into edit mode for it. When no such row exists, or the row cannot
// be read, the editor is left as it is (so it opens empty, for a new movie).
// Does not show the editor.
void loadDVD(Form2& form, const QString& id, Catalogue& catalogue, MessageBoxes& boxes);
} // namespace modDVD
