#pragma once

#include "core/catalogue/catalogue_location.h"

#include <functional>

class MessageBoxes;
class Shell;

// What the record editor works with, handed in by the window that owns it:
// the message boxes, the shell (for the program folder), the program-wide
// catalogue connection, and the refill of the movie list after a save.
struct EditorServices {
    MessageBoxes& boxes;
    Shell& shell;
    ConnectionSlot& gConn;
    std::function<void()> listDVD;
};
