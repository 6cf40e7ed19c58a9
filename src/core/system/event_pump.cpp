#include "core/system/event_pump.h"

#include <QCoreApplication>

void pumpEvents() {
    QCoreApplication::processEvents();
}
