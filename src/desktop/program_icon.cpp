#include "desktop/program_icon.h"

QIcon programIcon() {
    return QIcon::fromTheme(QStringLiteral("video-x-generic"));
}
