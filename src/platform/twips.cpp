#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace Twips {

double dotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

int toPixels(double twips) {
    return int(std::lround(twips * dotsPerInch() / 1440.0));
}

float fromPixels(int pixels) {
    return float(std::round(pixels * 1440.0 / dotsPerInch()));
}

} // namespace Twips
