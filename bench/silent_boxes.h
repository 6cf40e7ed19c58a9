#pragma once

#include "platform/message_boxes.h"

// Message boxes that show nothing and answer OK.
class SilentBoxes : public MessageBoxes {
protected:
    int show(const QString&, int, const QString&) override { return vbOK; }
};
