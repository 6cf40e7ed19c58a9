#include "desktop/twips_geometry.h"

#include "platform/twips.h"

#include <QGuiApplication>
#include <QRectF>
#include <QScreen>
#include <QVariant>
#include <QWidget>

namespace {

// The twips a control was last given, and the pixels they came to.
constexpr char kTwipsProperty[] = "_rk_twipsGeometry";
constexpr char kPixelsProperty[] = "_rk_twipsPixels";

QRect screenRect(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->geometry() : QRect();
}

} // namespace

void setTwipsGeometry(QWidget& control, const TwipsRect& rect) {
    const QRect pixels(Twips::toPixels(rect.left), Twips::toPixels(rect.top),
                       Twips::toPixels(rect.width), Twips::toPixels(rect.height));
    control.setGeometry(pixels);
    control.setProperty(kTwipsProperty, QRectF(rect.left, rect.top, rect.width, rect.height));
    control.setProperty(kPixelsProperty, control.geometry());
}

TwipsRect twipsGeometry(const QWidget& control) {
    const QVariant twips = control.property(kTwipsProperty);
    if (twips.isValid() && control.property(kPixelsProperty).toRect() == control.geometry()) {
        const QRectF r = twips.toRectF();
        return {float(r.x()), float(r.y()), float(r.width()), float(r.height())};
    }
    const QRect g = control.geometry();
    return {Twips::fromPixels(g.x()), Twips::fromPixels(g.y()), Twips::fromPixels(g.width()),
            Twips::fromPixels(g.height())};
}

TwipsSize outerSizeInTwips(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    return {Twips::fromPixels(frame.width()), Twips::fromPixels(frame.height())};
}

TwipsSize screenSizeInTwips(const QWidget& window) {
    const QRect screen = screenRect(window);
    return {Twips::fromPixels(screen.width()), Twips::fromPixels(screen.height())};
}

void moveWindowInTwips(QWidget& window, float left, float top) {
    const QRect screen = screenRect(window);
    window.move(screen.x() + Twips::toPixels(left), screen.y() + Twips::toPixels(top));
}
