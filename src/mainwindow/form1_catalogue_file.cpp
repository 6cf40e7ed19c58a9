#include "mainwindow/form1_catalogue_file.h"

#include "core/catalogue/catalogue.h"
#include "core/catalogue/catalogue_location.h"
#include "core/report/error_trap.h"
#include "core/report/message_boxes.h"
#include "core/system/program_end.h"
#include "core/system/shell.h"

using namespace CatalogueLocation;

void provideCatalogueFile(ErrorTrap& trap, const Shell& shell, MessageBoxes& boxes,
                          ProgramEnd& programEnd) {
    if (trap.test(104, [&] { return !Shell::exists(makerFolder(shell)); })) {
        trap.step(106, [&] { Shell::makeFolder(makerFolder(shell)); });
    }
    if (trap.test(108, [&] { return !Shell::exists(catalogueFolder(shell)); })) {
        trap.step(110, [&] { Shell::makeFolder(catalogueFolder(shell)); });
    }
    if (trap.test(112, [&] { return !Shell::exists(catalogueFile(shell)); })) {
        if (trap.test(114, [&] { return !Shell::isFile(templateFile(shell)); })) {
            trap.step(116, [&] { boxes.tell(missingTemplateMessage(shell)); });
            programEnd.End();
        } else {
            trap.step(120, [&] { Shell::copyFile(templateFile(shell), catalogueFile(shell)); });
        }
    }
}

void openCatalogue(ErrorTrap& trap, Catalogue& catalogue, const Shell& shell) {
    // The catalogue object exists from the program's start: there is no
    // connection object to create before opening it.
    trap.step(178, [&] { catalogue.open(catalogueFile(shell)); });
}

void closeCatalogue(ErrorTrap& trap, Catalogue& catalogue) {
    if (trap.test(110, [&] { return catalogue.isOpen(); })) {
        trap.step(110, [&] { catalogue.close(); });
    }
}
