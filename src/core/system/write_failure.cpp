#include "core/system/write_failure.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

bool namesOutOfSpace(const QString& reason) {
    constexpr std::array kOutOfSpace{ENOSPC, EDQUOT, EFBIG};
    return std::ranges::any_of(kOutOfSpace, [&reason](int error) {
        return reason.contains(QString::fromLocal8Bit(std::strerror(error)), Qt::CaseInsensitive);
    });
}

// Whether the folder the file goes to has no room left for this user.
bool folderIsFull(const QString& path) {
    struct statvfs space {};
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    return ::statvfs(folder.constData(), &space) == 0 && space.f_bavail == 0;
}

// Whether writing to the folder of path may have stopped for lack of room:
// the folder has none left for this user, or a file-size limit is set.
bool spaceRanOut(const QString& path) {
    rlimit limit{};
    return folderIsFull(path) ||
           (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY);
}

QString outOfSpace() {
    QString text = kOutOfSpaceText;
    text[0] = text[0].toLower();
    return text;
}

} // namespace

bool isOutOfSpaceError(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

QString writeFailureReason(const QString& path, const QString& reason, int systemError) {
    const QString unclear = reason.trimmed();
    if (isOutOfSpaceError(systemError) || namesOutOfSpace(reason) ||
        ((unclear.isEmpty() || unclear.startsWith(QStringLiteral("Unknown error"))) &&
         spaceRanOut(path))) {
        return outOfSpace();
    }
    return reason;
}

QString incompleteWriteReason(const QString& path, const QString& reason) {
    return spaceRanOut(path) ? outOfSpace() : reason;
}

StderrCapture::StderrCapture() {
    int ends[2];
    // Never blocks: what does not fit in the pipe is dropped, not waited on.
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) {
        return;
    }
    std::fflush(stderr);
    m_saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (m_saved < 0 || ::dup2(ends[1], STDERR_FILENO) < 0) {
        if (m_saved >= 0) {
            ::close(m_saved);
            m_saved = -1;
        }
        ::close(ends[0]);
        ::close(ends[1]);
        return;
    }
    ::close(ends[1]);
    m_read = ends[0];
}

StderrCapture::~StderrCapture() {
    end();
}

QByteArray StderrCapture::end() {
    if (m_saved >= 0) {
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }
    if (m_read >= 0) {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = ::read(m_read, buffer, sizeof buffer)) > 0) {
            m_text.append(buffer, got);
        }
        ::close(m_read);
        m_read = -1;
    }
    return m_text;
}
