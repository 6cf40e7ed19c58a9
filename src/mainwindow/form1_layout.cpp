// The main window's two layouts: fixed, and stretched while maximised.
#include "mainwindow/form1.h"

#include "core/settings/setting_values.h"
#include "desktop/twips_geometry.h"
#include "mainwindow/list_view.h"
#include "mainwindow/main_window_layout.h"

#include <QPushButton>

void Form1::Form_Resize() {
    // A window the user merely drags keeps the fixed layout, until the
    // stretched one has been used once; from then on every resize in the
    // normal state puts the fixed layout back and centres the window.
    const int state = windowStateNumber(windowState());
    const bool maximised = state == 2;
    if (!maximised && (state != 0 || !mLayoutMaximized)) {
        return;
    }

    MainWindowControls controls;
    controls.list = twipsGeometry(*m_list);
    for (int number = 1; number <= kButtonCount; ++number) {
        controls.button(number) = twipsGeometry(PushButton(number));
    }
    if (maximised) {
        const TwipsSize outer = outerSizeInTwips(*this);
        MainWindowLayout::stretch(controls, outer.width, outer.height);
    } else {
        MainWindowLayout::restoreFixed(controls);
    }
    setTwipsGeometry(*m_list, controls.list);
    for (int number = 1; number <= kButtonCount; ++number) {
        setTwipsGeometry(PushButton(number), controls.button(number));
    }

    if (maximised) {
        mLayoutMaximized = true;
    } else {
        const MainWindowLayout::WindowPosition position =
            MainWindowLayout::centred(screenSizeInTwips(*this), outerSizeInTwips(*this));
        moveWindowInTwips(*this, position.left, position.top);
    }
}
