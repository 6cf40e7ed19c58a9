#pragma once

#include <QString>
#include <optional>

// Folders and files as the program sees them: the shared data folder, the
// program's own folder, and the few file operations start-up needs.
class Shell {
public:
    enum SpecialFolder { CSIDL_COMMON_APPDATA = 35 };
    enum Attribute { vbNormal = 0, vbDirectory = 16 };

    // programFolder: where the shipped files are ("" = the executable's folder).
    // dataFolder: overrides the shared data folder (tests; "" = cannot be resolved).
    explicit Shell(QString programFolder = {}, std::optional<QString> dataFolder = {});

    // The folder with that number, without a trailing separator; "" when it
    // cannot be resolved. 35 is the shared application-data folder, which on
    // Linux is the XDG data home.
    QString GetSpecialFolder(int folder) const;
    // The folder that holds the program's executable, without a trailing separator.
    QString programFolder() const;

    // True when the path exists (its date and time can be read); never throws.
    static bool FileExists(const QString& path);
    // The path's file name when something matches the attributes, else "":
    // vbDirectory matches folders and files, vbNormal only files.
    static QString Dir(const QString& path, int attributes);
    // Creates the folder and any missing folders above it.
    static void MkDir(const QString& path);
    static void FileCopy(const QString& source, const QString& destination);

private:
    QString m_programFolder;
    std::optional<QString> m_dataFolder;
};
