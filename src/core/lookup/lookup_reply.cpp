#include "core/lookup/lookup_reply.h"

#include <QLocale>

namespace {
const QString kCancelled = QStringLiteral("the lookup was cancelled");
const QString kFromCache = QStringLiteral("from the cache of %1");
const QString kOfflineFromCache = QStringLiteral("cannot reach the service; from the cache of %1");
} // namespace

LookupReply::LookupReply(QString source, QObject* parent)
    : QObject(parent), m_source(std::move(source)) {}

void LookupReply::abort() {
    if (m_finished) {
        return;
    }
    fail(kCancelled);
    emit aborting();
}

bool LookupReply::begin() {
    if (m_finished) {
        return false;
    }
    m_finished = true;
    // Queued, so that a reply that fails at once still reaches a caller who
    // connects to it after the call that made it.
    QMetaObject::invokeMethod(this, &LookupReply::finished, Qt::QueuedConnection);
    return true;
}

void LookupReply::finishWith(QList<LookupCandidate> candidates) {
    if (begin()) {
        m_candidates = std::move(candidates);
    }
}

void LookupReply::finishWith(LookupMovie movie) {
    if (begin()) {
        m_movie = std::move(movie);
    }
}

void LookupReply::fail(const QString& message) {
    fail(LookupFailure(m_source, message));
}

void LookupReply::fail(const LookupFailure& failure) {
    if (begin()) {
        m_failure = failure;
    }
}

void LookupReply::noteCached(const QDateTime& storedAt, bool offline) {
    if (!m_cachedAt || storedAt < *m_cachedAt) {
        m_cachedAt = storedAt.toUTC();
    }
    m_offline = m_offline || offline;
}

QString LookupReply::cacheNote() const {
    if (!m_cachedAt) {
        return {};
    }
    // The day in the person's time zone; the year only when it is not this one.
    const QDate day = m_cachedAt->toLocalTime().date();
    const QString format = day.year() == QDate::currentDate().year() ? QStringLiteral("d MMM")
                                                                     : QStringLiteral("d MMM yyyy");
    const QString date = QLocale::c().toString(day, format);
    return (m_offline ? kOfflineFromCache : kFromCache).arg(date);
}
