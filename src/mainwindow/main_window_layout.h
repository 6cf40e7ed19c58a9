#pragma once

#include "desktop/twips_geometry.h"

#include <array>

// The main window's two layouts as plain arithmetic in twips (single
// precision): the fixed one it is designed with, and the stretched one used
// while it is maximised. Buttons never change size, and the list keeps its
// left and top.
struct MainWindowControls {
    TwipsRect list;
    std::array<TwipsRect, 8> buttons; // PushButton1 .. PushButton8

    TwipsRect& button(int number) { return buttons[std::size_t(number - 1)]; }
    const TwipsRect& button(int number) const { return buttons[std::size_t(number - 1)]; }
};

namespace MainWindowLayout {

// The list grows with the window (outer size in twips) and the two button
// rows move under it, the first row starting 600 left of the middle less
// two button widths.
void stretch(MainWindowControls& controls, float outerWidth, float outerHeight);
// The list and the first button back at their designed places.
void restoreFixed(MainWindowControls& controls);
// Places the other seven buttons from PushButton4: 120 between the buttons
// of a row, 105 between the rows, the second row under the first button.
void chainButtonRows(MainWindowControls& controls);

struct WindowPosition {
    float left = 0, top = 0;
};
// Where a window of that outer size stands when centred on the screen.
WindowPosition centred(TwipsSize screen, TwipsSize window);

} // namespace MainWindowLayout
