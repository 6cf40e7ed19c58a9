#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <functional>

// Keeps one service's requests polite: at most a few running at once and a
// least time between two starts. A request that may not start yet waits in
// line, in the order it came, and is never dropped; it starts as soon as a
// running one leaves and the spacing has passed.
class RequestGate : public QObject {
    Q_OBJECT
public:
    RequestGate(int maxInFlight, int spacingMs, QObject* parent = nullptr);

    // Runs `start` now or later, from the event loop, once `requester` may
    // go. Nothing runs for a requester deleted while it waits.
    void enter(QObject* requester, std::function<void()> start);
    // `requester` is done (or gives up its place in line); another may go.
    // Calling it again, or for one that never entered, does nothing.
    void leave(QObject* requester);

    int spacingMs() const { return m_spacingMs; }

private:
    struct Waiting {
        QPointer<QObject> requester;
        std::function<void()> start;
    };

    void admit();

    int m_maxInFlight;
    int m_spacingMs;
    QList<Waiting> m_line;
    QSet<QObject*> m_running;
    QElapsedTimer m_sinceLastStart;
    QTimer m_wake;
};
