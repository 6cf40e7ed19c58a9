#include "core/lookup/response_cache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace {

constexpr char kFolderVariable[] = "REELKEEPER_LOOKUP_CACHE";
// The first line of every entry; the stamp and the key follow, a line each,
// then the body.
constexpr char kMagic[] = "Reelkeeper lookup cache 1";
constexpr qint64 kHeadLimit = qint64(64) * 1024; // a line of the head, the key the longest

} // namespace

ResponseCache::ResponseCache(QString folder, Limits limits)
    : m_folder(std::move(folder)), m_limits(limits) {}

std::shared_ptr<ResponseCache> ResponseCache::standard() {
    QString folder = qEnvironmentVariable(kFolderVariable);
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                 QStringLiteral("/Tarnwick/Reelkeeper/lookups");
    }
    return std::make_shared<ResponseCache>(folder);
}

QString ResponseCache::keyOf(const QUrl& address, const QString& secret) {
    QUrl url = address.adjusted(QUrl::RemoveUserInfo | QUrl::RemoveFragment);
    QString key;
    if (secret.isEmpty()) {
        key = url.toString(QUrl::FullyEncoded);
    } else {
        const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(secret));
        QStringList kept;
        for (const QString& item :
             url.query(QUrl::FullyEncoded).split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
            const QString value = item.section(QLatin1Char('='), 1);
            if (value != secret && value != encoded) {
                kept << item;
            }
        }
        url.setQuery(kept.join(QLatin1Char('&')), QUrl::StrictMode);
        key = url.toString(QUrl::FullyEncoded);
        key.remove(secret);
        key.remove(encoded);
    }
    return key;
}

QString ResponseCache::pathOf(const QString& key) const {
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256);
    return m_folder + QLatin1Char('/') + QString::fromLatin1(digest.toHex()) +
           QStringLiteral(".answer");
}

std::optional<ResponseCache::Entry> ResponseCache::find(const QString& key, Age age) const {
    QFile file(pathOf(key));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // The key is kept in the entry, so that two keys sharing a digest never
    // give each other's answers.
    if (file.readLine(kHeadLimit).trimmed() != kMagic) {
        return std::nullopt;
    }
    const QDateTime storedAt = QDateTime::fromString(
        QString::fromLatin1(file.readLine(kHeadLimit).trimmed()), Qt::ISODateWithMs);
    if (!storedAt.isValid() || QString::fromUtf8(file.readLine(kHeadLimit).trimmed()) != key) {
        return std::nullopt;
    }
    if (age == Age::FreshOnly &&
        storedAt.addDays(m_limits.freshDays) < QDateTime::currentDateTimeUtc()) {
        return std::nullopt;
    }
    return Entry{file.readAll(), storedAt.toUTC()};
}

void ResponseCache::store(const QString& key, const QByteArray& body) {
    if (!QDir().mkpath(m_folder)) {
        return;
    }
    const QString path = pathOf(key);
    const qint64 before = QFileInfo(path).size();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return;
    }
    const QByteArray stamp = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toLatin1();
    file.write(QByteArray(kMagic) + '\n' + stamp + '\n' + key.toUtf8() + '\n');
    file.write(body);
    if (file.commit()) {
        keepWithinBound(QFileInfo(path).size() - before);
    }
}

// The total is counted once and then kept up to date, so that storing many
// answers in a row does not read the folder each time.
void ResponseCache::keepWithinBound(qint64 added) {
    const QDir folder(m_folder);
    const QDir::Filters files = QDir::Files;
    if (m_knownBytes < 0) {
        m_knownBytes = 0;
        for (const QFileInfo& entry : folder.entryInfoList(files)) {
            m_knownBytes += entry.size();
        }
    } else {
        m_knownBytes += added;
    }
    if (m_knownBytes <= m_limits.maxBytes) {
        return;
    }
    // Newest first: what fits is kept, the first that does not and every
    // older one go.
    m_knownBytes = 0;
    bool full = false;
    for (const QFileInfo& entry : folder.entryInfoList(files, QDir::Time)) {
        full = full || m_knownBytes + entry.size() > m_limits.maxBytes;
        if (full) {
            QFile::remove(entry.filePath());
        } else {
            m_knownBytes += entry.size();
        }
    }
}
