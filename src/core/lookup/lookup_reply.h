#pragma once

#include "core/lookup/lookup_types.h"

#include <QObject>
#include <optional>

// One running lookup, as QNetworkReply is one running request: the source
// hands it out at once and it emits finished() later, from the event loop,
// never inside the call that made it. Then it holds either its result (the
// candidates of a search, or one movie) or the failure. The caller deletes
// it (deleteLater() from finished() is fine); deleting it or calling
// abort() stops its requests.
class LookupReply : public QObject {
    Q_OBJECT
public:
    explicit LookupReply(QString source, QObject* parent = nullptr);

    const QString& source() const { return m_source; }
    bool isFinished() const { return m_finished; }
    // Set once finished without a result.
    const std::optional<LookupFailure>& failure() const { return m_failure; }
    // A search's or a find's films, best first (none is no failure).
    const QList<LookupCandidate>& candidates() const { return m_candidates; }
    // A fetch's film.
    const std::optional<LookupMovie>& movie() const { return m_movie; }

    // Stops the lookup; it finishes as failed unless it had finished.
    void abort();

    // For the sources: each finishes the reply once; later calls are ignored.
    void finishWith(QList<LookupCandidate> candidates);
    void finishWith(LookupMovie movie);
    void fail(const QString& message); // the source's name goes in front
    void fail(const LookupFailure& failure);

signals:
    void finished();
    // Emitted by abort(): the requests behind the reply stop.
    void aborting();

protected:
    // Marks the reply finished; false when it had finished already.
    bool begin();

private:
    QString m_source;
    bool m_finished = false;
    std::optional<LookupFailure> m_failure;
    QList<LookupCandidate> m_candidates;
    std::optional<LookupMovie> m_movie;
};
