#include "core/catalogue/catalogue_location.h"

#include "core/report/failure.h"
#include "core/system/shell.h"

namespace CatalogueLocation {

QString missingTemplateMessage(const Shell& shell) {
    return shell.programFolder() + QLatin1Char('/') + QLatin1String(kFileName) +
           QStringLiteral(" not found.");
}

QString makerFolder(const Shell& shell) {
    return shell.sharedDataFolder() + QStringLiteral("/Tarnwick");
}

QString catalogueFolder(const Shell& shell) {
    return makerFolder(shell) + QStringLiteral("/Reelkeeper");
}

QString catalogueFile(const Shell& shell) {
    return catalogueFolder(shell) + QLatin1Char('/') + QLatin1String(kFileName);
}

QString templateFile(const Shell& shell) {
    return shell.programFolder() + QLatin1Char('/') + QLatin1String(kFileName);
}

QString provide(const Shell& shell) {
    QString file = catalogueFile(shell);
    if (Shell::exists(file)) {
        return file;
    }
    Shell::makeFolder(catalogueFolder(shell));
    if (!Shell::isFile(templateFile(shell))) {
        throw Failure(missingTemplateMessage(shell));
    }
    Shell::copyFile(templateFile(shell), file);
    return file;
}

} // namespace CatalogueLocation
