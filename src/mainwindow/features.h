#pragma once

#include <QList>

class WindowContext;
class WindowFeature;

// Every feature of the main window, in the order their entries appear in
// the list's context menu and in the menus of the menu bar. Each is a child
// of the window.
QList<WindowFeature*> makeFeatures(WindowContext& context);
