#pragma once

#include <QString>

// Values that do not look like what their field holds. The import points
// them out and stores them as they are.

// The earliest year a movie is taken to be made in; the latest is next year.
inline constexpr int kFirstMovieYear = 1870;

// Why a field's value looks wrong ("year "19 84" is not a year between 1870
// and 2027"), or an empty text when it looks right, is empty or the field is
// not checked. A year must be a whole number from kFirstMovieYear to
// `lastYear`; a runtime a time (h:mm, hh:mm:ss) or a number of minutes
// ("142", "142 min").
QString wrongValueProblem(int field, const QString& value, int lastYear);
