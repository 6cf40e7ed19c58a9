#pragma once

#include "core/report/message_boxes.h"

// Message boxes that show nothing and answer OK.
class SilentBoxes : public MessageBoxes {
protected:
    Answer show(const QString&, BoxStyle, const QString&) override { return Answer::Ok; }
};
