#pragma once

#include "core/catalogue/catalogue.h"

// The tests' way to the connection underneath a catalogue, to watch the
// statements it sends or to change how it waits.
struct CatalogueInternals {
    static Connection& connection(Catalogue& catalogue) { return catalogue.connection(); }
    static SqliteDatabase& database(Catalogue& catalogue) {
        return catalogue.connection().database();
    }
};
