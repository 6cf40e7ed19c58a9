#include "desktop/pointer_file.h"

#include "core/report/failure.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>
#include <algorithm>

namespace {

// A cursor file starts with a directory (reserved 0, type 2, count) whose
// first entry carries the hotspot where an icon keeps its colour planes and
// depth. Qt's reader returns the first picture but not its hotspot, so it
// is read here; any other picture points with its top-left corner.
QPoint cursorHotspot(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray head = file.read(6 + 16);
    if (head.size() < 6 + 16) {
        return {};
    }
    const auto* bytes = reinterpret_cast<const uchar*>(head.constData());
    const auto reserved = qFromLittleEndian<quint16>(bytes);
    const auto type = qFromLittleEndian<quint16>(bytes + 2);
    const auto count = qFromLittleEndian<quint16>(bytes + 4);
    if (reserved != 0 || type != 2 || count == 0) {
        return {};
    }
    return {qFromLittleEndian<quint16>(bytes + 6 + 4), qFromLittleEndian<quint16>(bytes + 6 + 6)};
}

} // namespace

QCursor loadPointerFile(const QString& path) {
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        throw Failure(QStringLiteral("The pointer picture %1 could not be loaded: %2")
                          .arg(path, reader.errorString()));
    }
    const QPoint hotspot = cursorHotspot(path);
    return QCursor(QPixmap::fromImage(image), std::clamp(hotspot.x(), 0, image.width() - 1),
                   std::clamp(hotspot.y(), 0, image.height() - 1));
}
