#pragma once

#include "core/report/message_boxes.h"

// The real boxes, shown with QMessageBox on the active window.
class QtMessageBoxes : public MessageBoxes {
protected:
    Answer show(const QString& text, BoxStyle style, const QString& title) override;
};
