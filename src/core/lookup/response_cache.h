#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>

// How much the response cache keeps, and for how long it trusts it.
struct ResponseCacheLimits {
    qint64 maxBytes = qint64(50) * 1024 * 1024; // all entries together
    int freshDays = 30; // an older entry is used only when the network fails
};

// The film databases' answers kept on disk, so that a repeated lookup needs
// no request and a lookup without network still has an answer. An entry is
// the body of one GET, keyed by its address with the key or token taken
// out (no credential is ever written), stamped with the time it came.
// Entries are written atomically; one that cannot be read is ignored. The
// folder is kept under a size bound by removing the oldest entries first.
class ResponseCache {
public:
    using Limits = ResponseCacheLimits;
    struct Entry {
        QByteArray body;
        QDateTime storedAt; // UTC
    };

    explicit ResponseCache(QString folder, Limits limits = {});

    // The cache the program uses: the folder REELKEEPER_LOOKUP_CACHE names,
    // else "lookups" in the user's cache folder, beside the workbooks.
    static std::shared_ptr<ResponseCache> standard();

    // The key of an address: the address with every query item whose value
    // is `secret` removed, and the secret itself nowhere.
    static QString keyOf(const QUrl& address, const QString& secret = {});

    // The entry under `key`: only a fresh one, or one of any age.
    enum class Age { FreshOnly, Any };
    std::optional<Entry> find(const QString& key, Age age) const;
    // Keeps `body` under `key`, stamped now; a failure to write is ignored,
    // as the cache only saves requests.
    void store(const QString& key, const QByteArray& body);

    const QString& folder() const { return m_folder; }

private:
    QString pathOf(const QString& key) const;
    void keepWithinBound(qint64 added);

    QString m_folder;
    Limits m_limits;
    qint64 m_knownBytes = -1; // the folder's total, counted at the first store
};
