#pragma once

#include <QColor>

class QWidget;

// The desktop's colour for button faces.
QColor buttonFaceColor();
// Gives a window and each of its labels, frames, check boxes and option
// buttons the button-face background; other controls keep theirs.
void setFormColors(QWidget& form);
// Sets one widget's own background colour.
void setBackColor(QWidget& widget, const QColor& color);
