#include "core/system/write_guard.h"

#include "core/report/failure.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <optional>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

const QString kIsTheCatalogue =
    QStringLiteral("%1 is the open catalogue file (or a link to it); the catalogue is never "
                   "written over. Choose another file.");

struct Identity {
    quint64 device;
    quint64 inode;
    bool operator==(const Identity&) const = default;
};

std::optional<Identity> identityOf(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return std::nullopt;
    }
    return Identity{quint64(info.st_dev), quint64(info.st_ino)};
}

// The guarded files; a file opened twice is listed twice. The catalogue
// check runs on a thread of its own, so the list is shared under a lock.
struct Guarded {
    QMutex lock;
    std::vector<Identity> files;
};

Guarded& guarded() {
    static Guarded instance;
    return instance;
}

} // namespace

GuardedFile::GuardedFile(const QString& path) {
    if (const std::optional<Identity> identity = identityOf(path)) {
        Guarded& all = guarded();
        const QMutexLocker locker(&all.lock);
        all.files.push_back(*identity);
        m_marked = true;
        m_device = identity->device;
        m_inode = identity->inode;
    }
}

GuardedFile::~GuardedFile() {
    release();
}

GuardedFile::GuardedFile(GuardedFile&& other) noexcept
    : m_marked(std::exchange(other.m_marked, false)), m_device(other.m_device),
      m_inode(other.m_inode) {}

GuardedFile& GuardedFile::operator=(GuardedFile&& other) noexcept {
    if (this != &other) {
        release();
        m_marked = std::exchange(other.m_marked, false);
        m_device = other.m_device;
        m_inode = other.m_inode;
    }
    return *this;
}

void GuardedFile::release() {
    if (!std::exchange(m_marked, false)) {
        return;
    }
    Guarded& all = guarded();
    const QMutexLocker locker(&all.lock);
    const auto found = std::find(all.files.begin(), all.files.end(), Identity{m_device, m_inode});
    if (found != all.files.end()) {
        all.files.erase(found);
    }
}

bool isSameFile(const QString& first, const QString& second) {
    const std::optional<Identity> one = identityOf(first);
    return one && one == identityOf(second);
}

void checkOutputFile(const QString& path) {
    const std::optional<Identity> identity = identityOf(path);
    if (!identity) {
        return; // a new file: it cannot be one already open
    }
    Guarded& all = guarded();
    const QMutexLocker locker(&all.lock);
    if (std::find(all.files.begin(), all.files.end(), *identity) != all.files.end()) {
        throw Failure(kIsTheCatalogue.arg(QDir::toNativeSeparators(path)));
    }
}
