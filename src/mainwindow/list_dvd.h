#pragma once

#include "core/catalogue/catalogue_location.h"

class ListView;
class MessageBoxes;
class WindowPointer;

namespace modDVD {
// Empties the movie list and fills it again from the catalogue, in title
// order; a sort the user chose stays in force and every row comes back unticked.
void listDVD(ListView& list, const ConnectionSlot& gConn, WindowPointer& pointer,
             MessageBoxes& boxes);
} // namespace modDVD
