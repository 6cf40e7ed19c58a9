#include "store/catalogue_location.h"

#include "desktop/error_trap.h"
#include "platform/connection.h"
#include "platform/message_boxes.h"
#include "platform/program_end.h"
#include "platform/shell.h"

namespace CatalogueLocation {

QString makerFolder(const Shell& shell) {
    return shell.GetSpecialFolder(Shell::CSIDL_COMMON_APPDATA) + QStringLiteral("/Tarnwick");
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

QString connectionText(const Shell& shell) {
    return QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=") + catalogueFile(shell) +
           QStringLiteral(";Persist Security Info=False");
}

} // namespace CatalogueLocation

using namespace CatalogueLocation;

Connection& requireConnection(const ConnectionSlot& gConn) {
    if (!gConn) {
        throw Failure(QStringLiteral("The catalogue connection has not been created."));
    }
    return *gConn;
}

void provideCatalogueFile(ErrorTrap& trap, const Shell& shell, MessageBoxes& boxes,
                          ProgramEnd& programEnd) {
    if (trap.test(104,
                  [&] { return Shell::Dir(makerFolder(shell), Shell::vbDirectory).isEmpty(); })) {
        trap.step(106, [&] { Shell::MkDir(makerFolder(shell)); });
    }
    if (trap.test(108, [&] {
            return Shell::Dir(catalogueFolder(shell), Shell::vbDirectory).isEmpty();
        })) {
        trap.step(110, [&] { Shell::MkDir(catalogueFolder(shell)); });
    }
    if (trap.test(112, [&] { return !Shell::FileExists(catalogueFile(shell)); })) {
        if (trap.test(114,
                      [&] { return Shell::Dir(templateFile(shell), Shell::vbNormal).isEmpty(); })) {
            trap.step(116, [&] {
                boxes.MsgBox(shell.programFolder() + QLatin1Char('/') + QLatin1String(kFileName) +
                             QStringLiteral(" not found."));
            });
            programEnd.End();
        } else {
            trap.step(120, [&] { Shell::FileCopy(templateFile(shell), catalogueFile(shell)); });
        }
    }
}

void openCatalogue(ErrorTrap& trap, ConnectionSlot& gConn, const Shell& shell) {
    trap.step(176, [&] { gConn = std::make_unique<Connection>(); });
    trap.step(178, [&] { requireConnection(gConn).Open(connectionText(shell)); });
}

void closeCatalogue(ErrorTrap& trap, ConnectionSlot& gConn) {
    if (trap.test(108, [&] { return gConn != nullptr; })) {
        if (trap.test(110, [&] { return requireConnection(gConn).State() != 0; })) {
            trap.step(110, [&] { requireConnection(gConn).Close(); });
        }
        trap.step(112, [&] { gConn.reset(); });
    }
}
