#include "desktop/form_colors.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QWidget>

QColor buttonFaceColor() {
    return QApplication::palette().color(QPalette::Button);
}

void setBackColor(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void setFormColors(QWidget& form) {
    const QColor face = buttonFaceColor();
    setBackColor(form, face);
    for (QWidget* child : form.findChildren<QWidget*>()) {
        // Labels and plain frames are QFrames; lists and text areas are too,
        // but they are scroll areas and keep their own background.
        const bool frameOrLabel = qobject_cast<QFrame*>(child) != nullptr &&
                                  qobject_cast<QAbstractScrollArea*>(child) == nullptr;
        const bool recolour = frameOrLabel || qobject_cast<QCheckBox*>(child) != nullptr ||
                              qobject_cast<QRadioButton*>(child) != nullptr ||
                              child->inherits("QGroupBox");
        if (recolour) {
            setBackColor(*child, face);
        }
    }
}
