#pragma once

#include <QString>

// Counts as the program writes them everywhere, grouped in thousands the
// way the person's locale groups them ("100 000" where the locale has no
// grouping of its own, as the C locale).
QString groupedNumber(qint64 number);

// "1 movie", "12 movies", "100 000 movies": a count with its noun.
QString countOf(qint64 count, const QString& one, const QString& many);
