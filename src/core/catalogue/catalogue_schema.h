#pragma once

// The catalogue's one table, as the template catalogue beside the program is
// made with it. The program itself never creates or alters the table; the
// template tool, the tests and the benchmarks make their catalogues with this.
inline constexpr char kCatalogueSchema[] =
    "create table dvd (id integer primary key autoincrement,"
    " title text collate nocase, year text, genre text, cast text,"
    " director text, runtime text, rating text, studio text);";
