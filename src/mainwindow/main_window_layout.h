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

// The fixed layout the window is designed with: its client area, the list,
// and the buttons row by row from left to right (their tab order).
inline constexpr TwipsSize kClientSize{12240, 6135};
inline constexpr TwipsRect kListPlace{120, 120, 12000, 4920};
struct ButtonPlace {
    int number = 0; // PushButton1 .. PushButton8
    TwipsRect place;
};
inline constexpr std::array<ButtonPlace, 8> kButtonPlaces = {{
    {4, {120, 5115, 2520, 405}},
    {1, {2760, 5115, 3000, 405}},
    {5, {5880, 5115, 3000, 405}},
    {7, {9000, 5130, 3120, 405}},
    {6, {120, 5625, 2550, 405}},
    {3, {2760, 5625, 3000, 405}},
    {2, {5880, 5625, 3000, 405}},
    {8, {9000, 5625, 3120, 405}},
}};

// The list grows with the window (outer size in twips) and the two button
// rows move under it, the first row starting 600 left of the middle less
// two button widths.
void stretch(MainWindowControls& controls, float outerWidth, float outerHeight);
// The list's size and the first button (PushButton4) back at their designed
// places, the other buttons chained from it.
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
