#pragma once

#include <QString>
#include <memory>

class Connection;
class ErrorTrap;
class MessageBoxes;
class ProgramEnd;
class Shell;

// Where the catalogue file lives: <shared data folder>/Tarnwick/Reelkeeper/dbDVD.mdb,
// with its template beside the executable. Every path is built afresh.
namespace CatalogueLocation {
inline constexpr char kFileName[] = "dbDVD.mdb";

QString makerFolder(const Shell& shell);
QString catalogueFolder(const Shell& shell);
QString catalogueFile(const Shell& shell);
QString templateFile(const Shell& shell);
QString connectionText(const Shell& shell);
} // namespace CatalogueLocation

// The program-wide catalogue connection: empty until start-up creates it.
using ConnectionSlot = std::unique_ptr<Connection>;

// The connection in the slot, or a failure when it was never created.
Connection& requireConnection(const ConnectionSlot& gConn);

// Start-up lines 104 to 120: create the folders where missing and copy the
// template when the catalogue file is missing; with the template missing
// too, say so and end the program.
void provideCatalogueFile(ErrorTrap& trap, const Shell& shell, MessageBoxes& boxes,
                          ProgramEnd& programEnd);
// Start-up lines 176 and 178: create the connection and open it on the catalogue file.
void openCatalogue(ErrorTrap& trap, ConnectionSlot& gConn, const Shell& shell);
// Closing lines 108 to 112: close the connection when open, then empty the slot.
void closeCatalogue(ErrorTrap& trap, ConnectionSlot& gConn);
