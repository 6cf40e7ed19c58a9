#pragma once

#include <QString>
#include <optional>

// Folders and files as the program sees them: the shared data folder, the
// program's own folder, and the few file operations start-up needs.
class Shell {
public:
    // programFolder: where the shipped files are ("" = the executable's folder).
    // dataFolder: overrides the shared data folder (tests; "" = cannot be resolved).
    explicit Shell(QString programFolder = {}, std::optional<QString> dataFolder = {});

    // The folder shared by the program's users, without a trailing
    // separator; on Linux the XDG data home. "" when it cannot be resolved.
    QString sharedDataFolder() const;
    // The folder that holds the program's executable, without a trailing separator.
    QString programFolder() const;

    // True when a file or a folder is at the path; never throws.
    static bool exists(const QString& path);
    // True when a file (not a folder) is at the path; never throws.
    static bool isFile(const QString& path);
    // Creates the folder and any missing folders above it.
    static void makeFolder(const QString& path);
    static void copyFile(const QString& source, const QString& destination);

private:
    QString m_programFolder;
    std::optional<QString> m_dataFolder;
};
