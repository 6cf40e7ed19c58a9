#pragma once

#include <QString>

class QWidget;
class SkinFramework;

// The skin file, under the program folder.
inline constexpr char kSkinFile[] = "/x/o.cjs";

// Gives the main window the skin in the program folder's skin file, on a
// button-face background. Without the file nothing changes and the window
// keeps its plain look. A skin that cannot be loaded or applied fails with
// its description; what was done before the failure stays done.
void applySkin(QWidget& mainWindow, SkinFramework& skin, const QString& programFolder);
