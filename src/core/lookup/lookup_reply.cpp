#include "core/lookup/lookup_reply.h"

namespace {
const QString kCancelled = QStringLiteral("the lookup was cancelled");
}

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
