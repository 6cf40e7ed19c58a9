#pragma once

#include <QString>
#include <memory>

class QSettings;

// Where the per-user settings are kept: text values by key, in the section
// "Reelkeeper" of the application "Tarnwick". The program reads and writes
// them through Config (config.h), which knows every key and its default.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The value stored under the key, or the fallback when there is none.
    virtual QString value(const QString& key, const QString& fallback) = 0;
    // Stores the value; fails with a description when it cannot be written.
    virtual void setValue(const QString& key, const QString& value) = 0;
};

// QSettings in INI format under the XDG config home (Tarnwick/Reelkeeper.ini).
class IniSettings : public SettingsStore {
public:
    IniSettings();
    ~IniSettings() override;

    QString value(const QString& key, const QString& fallback) override;
    void setValue(const QString& key, const QString& value) override;

    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_store;
};
