#pragma once

class QWidget;

// Positions and sizes of windows and controls in twips. A control placed
// in twips remembers the numbers it was given, so reading its geometry back
// gives the same twips as long as it has not been moved or resized in pixels.
struct TwipsRect {
    float left = 0, top = 0, width = 0, height = 0;
};

struct TwipsSize {
    float width = 0, height = 0;
};

// A control's place in its window.
void setTwipsGeometry(QWidget& control, const TwipsRect& rect);
TwipsRect twipsGeometry(const QWidget& control);

// A window's outer size, its frame included.
TwipsSize outerSizeInTwips(const QWidget& window);
// The size of the screen the window is on (the primary screen before it is shown).
TwipsSize screenSizeInTwips(const QWidget& window);
// Moves a window so that its outer top-left corner stands at (left, top)
// from the top-left corner of its screen.
void moveWindowInTwips(QWidget& window, float left, float top);
