#include "mainwindow/main_window_layout.h"

#include <algorithm>

namespace MainWindowLayout {

namespace {

constexpr float kButtonGap = 120;
constexpr float kRowGap = 105;

// Lays `number` right of `previous` in the same row as `rowStart`.
void placeRightOf(MainWindowControls& c, int number, int previous, int rowStart) {
    c.button(number).left = c.button(previous).left + c.button(previous).width + kButtonGap;
    c.button(number).top = c.button(rowStart).top;
}

} // namespace

void stretch(MainWindowControls& c, float outerWidth, float outerHeight) {
    const float bh = c.button(2).height;
    const float bw = c.button(2).width;
    // A window too small for the list leaves it empty rather than inverted.
    c.list.width = std::max(0.0f, outerWidth - 330);
    c.list.height = std::max(0.0f, outerHeight - (bh + bh) - 315 - 120 - 465);
    c.button(4).left = outerWidth / 2 - bw * (4.0f / 2) - 600;
    c.button(4).top = c.list.height + 105 + 120;
    chainButtonRows(c);
}

void restoreFixed(MainWindowControls& c) {
    static_assert(kButtonPlaces.front().number == 4);
    const TwipsRect& first = kButtonPlaces.front().place;
    c.list.width = kListPlace.width;
    c.list.height = kListPlace.height;
    c.button(4).left = first.left;
    c.button(4).top = first.top;
    chainButtonRows(c);
}

void chainButtonRows(MainWindowControls& c) {
    placeRightOf(c, 1, 4, 4);
    placeRightOf(c, 5, 1, 4);
    placeRightOf(c, 7, 5, 4);
    c.button(6).left = c.button(4).left;
    c.button(6).top = c.button(4).top + c.button(4).height + kRowGap;
    placeRightOf(c, 3, 6, 6);
    placeRightOf(c, 2, 3, 6);
    placeRightOf(c, 8, 2, 6);
}

WindowPosition centred(TwipsSize screen, TwipsSize window) {
    return {(screen.width - window.width) / 2, (screen.height - window.height) / 2};
}

} // namespace MainWindowLayout
