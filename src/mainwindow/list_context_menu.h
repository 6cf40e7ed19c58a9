#pragma once

class Form1;

// The movie list's context menu: the way in to everything the main window
// offers beyond its buttons. Each such command adds its entry in
// list_context_menu.cpp, one line each; an entry's shortcut works anywhere
// in the window.
void buildListContextMenu(Form1& window);
