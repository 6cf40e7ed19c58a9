#pragma once

class Catalogue;
class ErrorTrap;
class MessageBoxes;
class ProgramEnd;
class Shell;

// The main window's steps on its catalogue file, run through the start-up's
// and the closing's error traps.

// Creates the maker's and the catalogue's folders where missing and copies
// the template when the catalogue file is missing; with the template missing
// too, says so and ends the program.
void provideCatalogueFile(ErrorTrap& trap, const Shell& shell, MessageBoxes& boxes,
                          ProgramEnd& programEnd);
// Opens the catalogue file.
void openCatalogue(ErrorTrap& trap, Catalogue& catalogue, const Shell& shell);
// Closes the catalogue when it is open.
void closeCatalogue(ErrorTrap& trap, Catalogue& catalogue);
