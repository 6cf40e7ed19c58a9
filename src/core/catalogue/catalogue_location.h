#pragma once

#include <QString>

class Catalogue;
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

// The catalogue file, provided as the window's first start provides it: the
// folders made where missing and the template copied when the file is
// missing. Fails with a description when that cannot be done (the template
// missing too: "<program folder>/dbDVD.mdb not found."). Returns the file.
QString provide(const Shell& shell);
} // namespace CatalogueLocation

// Start-up lines 104 to 120: create the folders where missing and copy the
// template when the catalogue file is missing; with the template missing
// too, say so and end the program.
void provideCatalogueFile(ErrorTrap& trap, const Shell& shell, MessageBoxes& boxes,
                          ProgramEnd& programEnd);
// Start-up lines 176 and 178: open the catalogue file.
void openCatalogue(ErrorTrap& trap, Catalogue& catalogue, const Shell& shell);
// Closing lines 108 to 112: close the catalogue when it is open.
void closeCatalogue(ErrorTrap& trap, Catalogue& catalogue);
