#pragma once

class Catalogue;
class ErrorTrap;
class MessageBoxes;
class ProgramEnd;
class Shell;

// The main window's steps on its catalogue file, run through the start-up's
// and the closing's error traps.

// Start-up lines 104 to 120: create the folders where missing and copy the
// template when the catalogue file is missing; with the template missing
// too, say so and end the program.
void provideCatalogueFile(ErrorTrap& trap, const Shell& shell, MessageBoxes& boxes,
                          ProgramEnd& programEnd);
// Start-up lines 176 and 178: open the catalogue file.
void openCatalogue(ErrorTrap& trap, Catalogue& catalogue, const Shell& shell);
// Closing lines 108 to 112: close the catalogue when it is open.
void closeCatalogue(ErrorTrap& trap, Catalogue& catalogue);
