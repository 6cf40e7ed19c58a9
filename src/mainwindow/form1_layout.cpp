// The main window's two layouts: fixed, and stretched while maximised; and
// the room a bar may take above the controls.
#include "mainwindow/form1.h"

#include "core/settings/setting_values.h"
#include "desktop/twips_geometry.h"
#include "mainwindow/list_view.h"
#include "mainwindow/main_window_layout.h"
#include "platform/twips.h"

#include <QPushButton>
#include <algorithm>
#include <utility>

void Form1::Form_Resize() {
    // A window the user merely drags keeps the fixed layout, until the
    // stretched one has been used once; from then on every resize in the
    // normal state puts the fixed layout back and centres the window.
    const int state = windowStateNumber(windowState());
    const bool maximised = state == 2;
    if (!maximised && (state != 0 || !mLayoutMaximized)) {
        return;
    }

    if (!maximised && m_roomOwedWhenRestored != 0 && size() != m_maximisedSize) {
        // Restored after a bar came or went: the normal size takes it up now,
        // and the resize this causes places the controls.
        resize(width(), height() + std::exchange(m_roomOwedWhenRestored, 0));
        return;
    }

    MainWindowControls controls = m_layout;
    if (maximised) {
        m_maximisedSize = size();
        // The room above the controls comes off the list's height.
        const TwipsSize outer = outerSizeInTwips(*this);
        MainWindowLayout::stretch(controls, outer.width,
                                  outer.height - Twips::fromPixels(m_roomAbove));
    } else {
        MainWindowLayout::restoreFixed(controls);
    }
    placeControls(controls);

    if (maximised) {
        mLayoutMaximized = true;
    } else {
        const MainWindowLayout::WindowPosition position =
            MainWindowLayout::centred(screenSizeInTwips(*this), outerSizeInTwips(*this));
        moveWindowInTwips(*this, position.left, position.top);
    }
}

void Form1::placeControls(const MainWindowControls& controls) {
    m_layout = controls;
    const auto place = [this](QWidget& control, const TwipsRect& rect) {
        setTwipsGeometry(control, rect);
        if (m_roomAbove != 0) {
            control.move(control.x(), control.y() + m_roomAbove);
        }
    };
    place(*m_list, controls.list);
    for (int number = 1; number <= kButtonCount; ++number) {
        place(PushButton(number), controls.button(number));
    }
}

void Form1::setRoomAbove(int pixels) {
    const int change = std::max(0, pixels) - m_roomAbove;
    if (change == 0) {
        return;
    }
    m_roomAbove += change;
    placeControls(m_layout);
    if (windowStateNumber(windowState()) == 2) {
        m_roomOwedWhenRestored += change;
        Form_Resize(); // maximised: the list gives up the room
    } else {
        resize(width(), height() + change);
    }
}
