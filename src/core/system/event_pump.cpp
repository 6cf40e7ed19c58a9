#include "core/system/event_pump.h"

#include <QCoreApplication>

void DoEvents() {
    QCoreApplication::processEvents();
}
