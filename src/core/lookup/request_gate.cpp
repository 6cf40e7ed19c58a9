#include "core/lookup/request_gate.h"

#include <algorithm>

RequestGate::RequestGate(int maxInFlight, int spacingMs, QObject* parent)
    : QObject(parent), m_maxInFlight(std::max(1, maxInFlight)),
      m_spacingMs(std::max(0, spacingMs)) {
    m_wake.setSingleShot(true);
    connect(&m_wake, &QTimer::timeout, this, &RequestGate::admit);
}

void RequestGate::enter(QObject* requester, std::function<void()> start) {
    m_line.append({requester, std::move(start)});
    // From the event loop, so that a request never starts inside the call
    // that asked for it.
    if (!m_wake.isActive()) {
        m_wake.start(0);
    }
}

void RequestGate::leave(QObject* requester) {
    if (m_running.remove(requester)) {
        admit();
        return;
    }
    m_line.erase(std::remove_if(m_line.begin(), m_line.end(),
                                [requester](const Waiting& waiting) {
                                    return waiting.requester == requester;
                                }),
                 m_line.end());
}

void RequestGate::admit() {
    while (!m_line.isEmpty() && m_running.size() < m_maxInFlight) {
        if (m_line.constFirst().requester.isNull()) {
            m_line.removeFirst();
            continue;
        }
        if (m_sinceLastStart.isValid() && m_spacingMs > 0) {
            const qint64 wait = m_spacingMs - m_sinceLastStart.elapsed();
            if (wait > 0) {
                m_wake.start(int(wait));
                return;
            }
        }
        Waiting next = m_line.takeFirst();
        m_running.insert(next.requester.data());
        m_sinceLastStart.start();
        next.start();
    }
}
