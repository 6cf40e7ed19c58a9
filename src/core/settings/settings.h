#pragma once

#include <QString>
#include <memory>

class QSettings;

// The per-user settings store: text values under a key of the section
// "Reelkeeper" of the application "Tarnwick".
class Settings {
public:
    virtual ~Settings() = default;
    virtual QString GetSetting(const QString& key, const QString& defaultValue) = 0;
    virtual void SaveSetting(const QString& key, const QString& value) = 0;
};

// QSettings in INI format under the XDG config home (Tarnwick/Reelkeeper.ini).
class IniSettings : public Settings {
public:
    IniSettings();
    ~IniSettings() override;

    QString GetSetting(const QString& key, const QString& defaultValue) override;
    void SaveSetting(const QString& key, const QString& value) override;

    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_store;
};
