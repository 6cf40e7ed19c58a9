#pragma once

#include "core/catalogue/catalogue.h"
#include "core/shelf/shelf_store.h"
#include "support/temp_catalogue.h"

#include <gtest/gtest.h>

// A scratch catalogue of a few movies, open, with its shelf.
class ShelfTest : public ::testing::Test {
protected:
    void SetUp() override {
        TempCatalogue::createCatalogue(file);
        TempCatalogue::addMovies(file, {{"Blade Runner", "1982", "", "", "Ridley Scott"},
                                        {"Alien", "1979", "", "", "Ridley Scott"},
                                        {"Aliens", "1986", "", "", "James Cameron"},
                                        {"Blade runner", "1982", "", "", "Ridley  Scott"},
                                        {"Solaris", "1972", "", "", "Andrei Tarkovsky"},
                                        {"Solaris", "2002", "", "", "Steven Soderbergh"},
                                        {"Alien", "", "", "", ""}});
        catalogue.open(file);
    }
    ShelfCopy copyOf(qint64 movieId, CopyFormat format, const QString& barcode = {}) {
        ShelfCopy copy;
        copy.movieId = movieId;
        copy.format = format;
        copy.barcode = barcode;
        return copy;
    }

    TempCatalogue dirs;
    QString file = dirs.root() + QStringLiteral("/dbDVD.mdb");
    Catalogue catalogue;
    ShelfStore store{catalogue};
};
