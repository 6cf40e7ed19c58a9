#include "core/system/throttled_pump.h"

#include "core/system/event_pump.h"

#include <QElapsedTimer>
#include <memory>

namespace {

ThrottledPump::Clock monotonicClock() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

} // namespace

ThrottledPump::ThrottledPump() : ThrottledPump(pumpEvents, monotonicClock()) {}

ThrottledPump::ThrottledPump(Pump pump, Clock clock, qint64 intervalMs)
    : m_pump(std::move(pump)), m_clock(std::move(clock)), m_intervalMs(intervalMs) {}

void ThrottledPump::operator()() {
    const qint64 now = m_clock();
    if (m_pumped && now - m_lastPump < m_intervalMs) {
        return;
    }
    m_pumped = true;
    m_pump();
    // Measured after the pump, so that a slow repaint does not make the next
    // pass pump again at once.
    m_lastPump = m_clock();
}
