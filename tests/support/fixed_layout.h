#pragma once

// The main window's fixed layout as it must be, in twips: what the layout
// tests hold the window to.
struct ControlPlace {
    const char* name;
    float left, top, width, height;
};
inline constexpr float kFixedClientWidth = 12240, kFixedClientHeight = 6135;
inline constexpr ControlPlace kFixedLayout[] = {
    {"ListView1", 120, 120, 12000, 4920},   {"PushButton4", 120, 5115, 2520, 405},
    {"PushButton1", 2760, 5115, 3000, 405}, {"PushButton5", 5880, 5115, 3000, 405},
    {"PushButton7", 9000, 5130, 3120, 405}, {"PushButton6", 120, 5625, 2550, 405},
    {"PushButton3", 2760, 5625, 3000, 405}, {"PushButton2", 5880, 5625, 3000, 405},
    {"PushButton8", 9000, 5625, 3120, 405},
};
