#include "core/snapshots/durable_file.h"

#include "core/snapshots/snapshot_failure.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

[[noreturn]] void refuse(const QString& what, int error) {
    throw SnapshotFailure(SnapshotFailure::Kind::NotMade, what + QStringLiteral(": ") +
                                                              describeSystemError(error) +
                                                              QLatin1Char('.'));
}

} // namespace

QString describeSystemError(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("the disk is full");
    case EFBIG:
        return QStringLiteral("the file would grow larger than this system allows");
    case EROFS:
    case EACCES:
    case EPERM:
        return QStringLiteral("the folder or file is read-only");
    case ENOTDIR:
        return QStringLiteral("a part of the path is a file, not a folder");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

void syncToDisk(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        refuse(QStringLiteral("Could not open %1 to save it to the disk").arg(path), errno);
    }
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder; its names are then kept as the system keeps them.
    if (rc != 0 && error != EINVAL && error != EBADF) {
        refuse(QStringLiteral("Could not save %1 to the disk").arg(path), error);
    }
}

bool renameWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0) {
        return true;
    }
    int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        // The file system cannot rename without replacing: a hard link
        // claims the name just as atomically, then the old name goes.
        if (::link(source.constData(), target.constData()) == 0) {
            ::unlink(source.constData());
            return true;
        }
        error = errno;
    }
    if (error == EEXIST) {
        return false;
    }
    refuse(QStringLiteral("Could not name the snapshot %1").arg(to), error);
}
