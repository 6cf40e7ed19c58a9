#pragma once

// A movie's columns in the order the list shows them: its id, then the
// eight fields in their fixed order. Windows, exports and commands name a
// column by this, never by its name in the catalogue.
enum class MovieColumn { Id, Title, Year, Genre, Cast, Director, Runtime, Rating, Studio };

inline constexpr int kMovieColumnCount = 9;

// The position of a column in the list (Id = 0 ... Studio = 8).
constexpr int columnIndex(MovieColumn column) {
    return static_cast<int>(column);
}
// The data field a column holds (Title = 0 ... Studio = 7), as DvdRecord::field takes it.
constexpr int fieldIndex(MovieColumn column) {
    return static_cast<int>(column) - 1;
}
// The column of data field `field` (0 = Title ... 7 = Studio).
constexpr MovieColumn fieldColumn(int field) {
    return static_cast<MovieColumn>(field + 1);
}
