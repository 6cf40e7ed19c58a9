#include "core/system/regular_file.h"

#include "core/report/failure.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kNotRegular = QStringLiteral("%1 is %2, not a regular file.");

// What a file that is not a regular one is, in plain words.
QString kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return QStringLiteral("a folder");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("a FIFO (named pipe)");
    }
    if (S_ISSOCK(mode)) {
        return QStringLiteral("a socket");
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return QStringLiteral("a device");
    }
    return QStringLiteral("a special file");
}

void requireRegular(mode_t mode, const QString& shown) {
    if (!S_ISREG(mode)) {
        throw Failure(kNotRegular.arg(shown, kindOf(mode)));
    }
}

} // namespace

void requireRegularFile(const QString& path, const QString& shown) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        requireRegular(info.st_mode, shown);
    }
}

std::unique_ptr<QFile> openRegularFile(const QString& path, const QString& shown,
                                       const QString& cannotOpen) {
    // Looked at before it is opened, so that opening a device does nothing;
    // opened without waiting and looked at again, in case the name changed.
    requireRegularFile(path, shown);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw Failure(cannotOpen.arg(shown, QString::fromLocal8Bit(std::strerror(errno))));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const mode_t mode = info.st_mode;
        ::close(fd);
        requireRegular(mode, shown);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw Failure(cannotOpen.arg(shown, file->errorString()));
    }
    return file;
}

QByteArray readRegularFile(const QString& path, const QString& shown, const QString& cannotOpen,
                           qint64 maxBytes, const QString& tooLarge) {
    const std::unique_ptr<QFile> file = openRegularFile(path, shown, cannotOpen);
    if (file->size() > maxBytes) {
        throw Failure(tooLarge.arg(shown));
    }
    // The file may grow while it is read: never more than the cap.
    QByteArray bytes = file->read(maxBytes + 1);
    if (bytes.size() > maxBytes) {
        throw Failure(tooLarge.arg(shown));
    }
    return bytes;
}
