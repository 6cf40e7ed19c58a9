#pragma once

#include <QtGlobal>
#include <functional>

// Lets pending window events run from inside a long loop, but at most once
// every few milliseconds: the window still repaints and answers, while the
// loop pays only a clock reading on most passes. The first pass always pumps.
class ThrottledPump {
public:
    static constexpr qint64 kIntervalMs = 5;

    using Pump = std::function<void()>;
    using Clock = std::function<qint64()>; // milliseconds, never going back

    ThrottledPump();
    ThrottledPump(Pump pump, Clock clock, qint64 intervalMs = kIntervalMs);

    void operator()();

private:
    Pump m_pump;
    Clock m_clock;
    qint64 m_intervalMs;
    qint64 m_lastPump = 0;
    bool m_pumped = false;
};
