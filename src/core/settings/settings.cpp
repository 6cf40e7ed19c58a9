#include "core/settings/settings.h"

#include "core/report/failure.h"

#include <QSettings>

namespace {
const QString kSection = QStringLiteral("Reelkeeper");
}

IniSettings::IniSettings()
    : m_store(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                          QStringLiteral("Tarnwick"),
                                          QStringLiteral("Reelkeeper"))) {}

IniSettings::~IniSettings() = default;

QString IniSettings::value(const QString& key, const QString& fallback) {
    return m_store->value(kSection + QLatin1Char('/') + key, fallback).toString();
}

void IniSettings::setValue(const QString& key, const QString& value) {
    m_store->setValue(kSection + QLatin1Char('/') + key, value);
    m_store->sync();
    if (m_store->status() != QSettings::NoError) {
        throw Failure(QStringLiteral("The setting %1 could not be saved to %2.")
                          .arg(key, m_store->fileName()));
    }
}

QString IniSettings::fileName() const {
    return m_store->fileName();
}
