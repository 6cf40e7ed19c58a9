#include "mainwindow/snapshots/startup_check.h"

#include "core/report/failure.h"

#include <QThread>
#include <QtDebug>

StartupCheck::StartupCheck(const QString& catalogueFile, QObject* parent)
    : QObject(parent), m_store(catalogueFile) {}

StartupCheck::~StartupCheck() {
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void StartupCheck::start() {
    if (m_thread) {
        return;
    }
    m_thread = QThread::create([this] { m_findings = run(m_store); });
    m_thread->setObjectName(QStringLiteral("StartupCheck"));
    // Emitted on the check's thread; the connection carries it to this object's.
    connect(m_thread, &QThread::finished, this, &StartupCheck::finished);
    m_thread->start(QThread::LowPriority);
}

bool StartupCheck::isRunning() const {
    return m_thread && m_thread->isRunning();
}

StartupFindings StartupCheck::run(const SnapshotStore& store) {
    StartupFindings findings;
    findings.health = checkCatalogue(store.catalogueFile(), CheckDepth::Quick);
    if (!findings.health.ok()) {
        // A damaged catalogue gets no daily snapshot: it could push a sound one out.
        return findings;
    }
    try {
        if (store.dailyDue()) {
            findings.dailySnapshot = store.make(SnapshotReason::Daily);
        }
    } catch (const Failure& failure) {
        // Nobody asked for it: no box at start, the next start tries again.
        qWarning().noquote() << "The daily snapshot could not be made:" << failure.description();
    }
    return findings;
}
