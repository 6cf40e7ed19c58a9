#pragma once

#include <QString>

// What a generated catalogue holds beside its movies, in the program's own
// tables and indexes (none are made when both are 0).
struct GeneratedShelf {
    // Copies spread over the movies, formats, editions and shelves varied,
    // each with a barcode of its own (generatedBarcode).
    int copies = 0;
    // Loans in history, each of a copy of its own (more copies are made when
    // there are fewer), by 200 borrowers: nine in ten returned, of the open
    // ones one in four overdue today.
    int loans = 0;
};

// The valid EAN-13 on the generated copy numbered `copy` (from 0).
QString generatedBarcode(int copy);

// Writes a catalogue of `count` generated movies to `path` (replacing it),
// with titles, years and the other fields varied like a real collection.
void writeGeneratedCatalogue(const QString& path, int count, GeneratedShelf shelf = {});

// A catalogue of 100 000 generated movies, written once per run into a
// temporary folder that lasts until the program ends.
const QString& largeGeneratedCatalogue();

// The process's peak resident memory so far, in megabytes.
double peakMemoryMegabytes();
