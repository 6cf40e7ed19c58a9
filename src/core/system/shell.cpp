#include "core/system/shell.h"

#include "core/report/failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

Shell::Shell(QString programFolder, std::optional<QString> dataFolder)
    : m_programFolder(std::move(programFolder)), m_dataFolder(std::move(dataFolder)) {}

QString Shell::sharedDataFolder() const {
    QString path = m_dataFolder
                       ? *m_dataFolder
                       : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    return path.trimmed();
}

QString Shell::programFolder() const {
    return m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
}

bool Shell::exists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool Shell::isFile(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

void Shell::makeFolder(const QString& path) {
    // The folders above it are made too: a new account may have no data
    // folder yet (~/.local/share appears with the first program that needs it).
    if (!QDir().mkpath(path)) {
        throw Failure(QStringLiteral("The folder %1 could not be created.").arg(path));
    }
}

void Shell::copyFile(const QString& source, const QString& destination) {
    QFile from(source);
    if (!from.copy(destination)) {
        throw Failure(QStringLiteral("%1 could not be copied to %2: %3")
                          .arg(source, destination, from.errorString()));
    }
}
