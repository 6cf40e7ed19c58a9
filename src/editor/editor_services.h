#pragma once

#include <functional>

class Catalogue;
class MessageBoxes;
class Shell;

// What the record editor works with, handed in by the window that owns it:
// the message boxes, the shell (for the program folder), the catalogue, and
// the refill of the movie list after a save.
struct EditorServices {
    MessageBoxes& boxes;
    Shell& shell;
    Catalogue& catalogue;
    std::function<void()> listDVD;
};
