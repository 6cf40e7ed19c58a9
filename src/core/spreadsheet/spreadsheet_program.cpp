#include "core/spreadsheet/spreadsheet_program.h"

#include "core/report/failure.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

const char* const kLibreOfficeNames[] = {"soffice", "libreoffice", "localc"};
// Opens the file as a template: a new, untitled document with its contents.
const QString kNewDocumentOption = QStringLiteral("-n");
const QString kXlsxMimeType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");

} // namespace

DesktopSpreadsheetFinder::DesktopSpreadsheetFinder(QStringList searchPaths)
    : m_searchPaths(std::move(searchPaths)) {}

QString DesktopSpreadsheetFinder::executable(const QString& name) const {
    return QStandardPaths::findExecutable(name, m_searchPaths);
}

std::optional<SpreadsheetProgram> DesktopSpreadsheetFinder::find() {
    for (const char* name : kLibreOfficeNames) {
        const QString path = executable(QString::fromLatin1(name));
        if (!path.isEmpty()) {
            return SpreadsheetProgram{path, {kNewDocumentOption}};
        }
    }
    const QString xdgMime = executable(QStringLiteral("xdg-mime"));
    const QString xdgOpen = executable(QStringLiteral("xdg-open"));
    if (!xdgMime.isEmpty() && !xdgOpen.isEmpty() && desktopHasXlsxHandler(xdgMime)) {
        return SpreadsheetProgram{xdgOpen, {}};
    }
    return std::nullopt;
}

bool DesktopSpreadsheetFinder::desktopHasXlsxHandler(const QString& xdgMime) const {
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), kXlsxMimeType});
    if (!query.waitForFinished(kQueryTimeoutMs)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !query.readAllStandardOutput().trimmed().isEmpty();
}

void DetachedLauncher::start(const QString& program, const QStringList& arguments) {
    if (!QProcess::startDetached(program, arguments)) {
        throw Failure(QStringLiteral("The program %1 could not be started.").arg(program));
    }
}
