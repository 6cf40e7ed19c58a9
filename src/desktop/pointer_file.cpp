#include "desktop/pointer_file.h"

#include "platform/failure.h"

#include <QImageReader>
#include <QPixmap>

QCursor loadPointerFile(const QString& path) {
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        throw Failure(QStringLiteral("The pointer picture %1 could not be loaded: %2")
                          .arg(path, reader.errorString()));
    }
    return QCursor(QPixmap::fromImage(image), 0, 0);
}
