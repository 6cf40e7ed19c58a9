#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The desktop program that shows a workbook file: its executable and the
// arguments that go before the file's path.
struct SpreadsheetProgram {
    QString executable;
    QStringList arguments;
};

// Finds the spreadsheet program of this desktop.
class SpreadsheetFinder {
public:
    virtual ~SpreadsheetFinder() = default;
    // The program, or nothing when this desktop has none.
    virtual std::optional<SpreadsheetProgram> find() = 0;
};

// LibreOffice (soffice, libreoffice or localc), told with -n to open the file
// as a new untitled document; otherwise whatever the desktop opens .xlsx
// files with (asked through xdg-mime, opened through xdg-open).
class DesktopSpreadsheetFinder : public SpreadsheetFinder {
public:
    // How long the desktop is given to name its .xlsx program.
    static constexpr int kQueryTimeoutMs = 5000;

    // searchPaths: the folders to look in; empty means the PATH.
    explicit DesktopSpreadsheetFinder(QStringList searchPaths = {});
    std::optional<SpreadsheetProgram> find() override;

private:
    QString executable(const QString& name) const;
    bool desktopHasXlsxHandler(const QString& xdgMime) const;

    QStringList m_searchPaths;
};

// Starts a program that lives on after this one.
class DocumentLauncher {
public:
    virtual ~DocumentLauncher() = default;
    // Fails (throws Failure) when the program cannot be started.
    virtual void start(const QString& program, const QStringList& arguments) = 0;
};

class DetachedLauncher : public DocumentLauncher {
public:
    void start(const QString& program, const QStringList& arguments) override;
};
