#pragma once

#include "core/settings/settings.h"
#include "core/system/program_end.h"

#include <QMap>
#include <QString>

// Settings kept in memory.
class MemorySettings : public SettingsStore {
public:
    QString value(const QString& key, const QString& fallback) override {
        return values.value(key, fallback);
    }
    void setValue(const QString& key, const QString& value) override { values[key] = value; }

    QMap<QString, QString> values;
};

// Thrown by RecordingProgramEnd::End() so that a test can see the program
// end at that point; it is no std::exception, so no ErrorTrap catches it.
struct ProgramEnded {};

class RecordingProgramEnd : public ProgramEnd {
public:
    [[noreturn]] void End() override {
        ++ends;
        throw ProgramEnded{};
    }
    void Quit() override { ++quits; }

    int ends = 0;
    int quits = 0;
};
