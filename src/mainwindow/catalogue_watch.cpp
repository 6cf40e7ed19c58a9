#include "mainwindow/catalogue_watch.h"

#include "core/catalogue/catalogue.h"

CatalogueWatch::CatalogueWatch(Catalogue& catalogue, std::function<void()> changed, QObject* parent)
    : QObject(parent), m_catalogue(catalogue), m_changed(std::move(changed)) {
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CatalogueWatch::look);
}

void CatalogueWatch::start() {
    m_timer.start();
}

void CatalogueWatch::stop() {
    m_timer.stop();
}

void CatalogueWatch::aboutToFill() {
    // Read before the fill: a change committed between this and the fill's
    // own read shows once more as a change, never as none.
    m_filledAt = m_catalogue.dataVersion();
}

bool CatalogueWatch::changedSinceFill() {
    const std::optional<qint64> now = m_catalogue.dataVersion();
    return now && now != m_filledAt;
}

void CatalogueWatch::look() {
    if (changedSinceFill()) {
        m_changed();
    }
}
