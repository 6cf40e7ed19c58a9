#pragma once

#include <QList>

class WindowContext;
class WindowFeature;

// Covers on the main window, without changing it while they are not used:
// the cover commands, the switch between the list and the cover view, and
// the cover in a row's tooltip, over one cover view laid on the list.
QList<WindowFeature*> makeCoverFeatures(WindowContext& context);
