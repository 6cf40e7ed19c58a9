#pragma once

#include "core/report/message_boxes.h"

// The real boxes, shown with QMessageBox on the active window.
class QtMessageBoxes : public MessageBoxes {
protected:
    int show(const QString& text, int style, const QString& title) override;
};
