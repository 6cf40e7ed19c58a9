#pragma once

class Catalogue;
class ListView;
class MessageBoxes;
class WindowPointer;

// Empties the movie list and fills it again from the catalogue, in title
// order; a sort the user chose stays in force and every row comes back unticked.
void listDVD(ListView& list, Catalogue& catalogue, WindowPointer& pointer, MessageBoxes& boxes);
