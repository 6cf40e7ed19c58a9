#pragma once

#include <QString>
#include <Qt>

// The texts the settings store holds for the window: widths as the text of
// a single-precision number, the window state as 0 (normal), 1 (minimized)
// or 2 (maximized). Reading a text that is not such a value fails with a
// description; the caller's trap reports it and the default stays.
float parseSettingNumber(const QString& text);
QString formatSettingNumber(float value);
int parseWindowState(const QString& text);
Qt::WindowStates windowStateFlags(int state);
int windowStateNumber(Qt::WindowStates states);
