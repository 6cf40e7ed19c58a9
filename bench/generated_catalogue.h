#pragma once

#include <QString>

// Writes a catalogue of `count` generated movies to `path` (replacing it),
// with titles, years and the other fields varied like a real collection.
void writeGeneratedCatalogue(const QString& path, int count);

// A catalogue of 100 000 generated movies, written once per run into a
// temporary folder that lasts until the program ends.
const QString& largeGeneratedCatalogue();

// The process's peak resident memory so far, in megabytes.
double peakMemoryMegabytes();
