#pragma once

#include <QString>

class Shell;

// Where the catalogue file lives: <shared data folder>/Tarnwick/Reelkeeper/dbDVD.mdb,
// with its template beside the executable. Every path is built afresh.
namespace CatalogueLocation {
inline constexpr char kFileName[] = "dbDVD.mdb";

QString makerFolder(const Shell& shell);
QString catalogueFolder(const Shell& shell);
QString catalogueFile(const Shell& shell);
QString templateFile(const Shell& shell);

// The catalogue file, provided as the window's first start provides it: the
// folders made where missing and the template copied when the file is
// missing. Fails with a description when that cannot be done (the template
// missing too: "<program folder>/dbDVD.mdb not found."). Returns the file.
QString provide(const Shell& shell);

// What start-up says when neither the catalogue file nor its template is
// there: "<program folder>/dbDVD.mdb not found."
QString missingTemplateMessage(const Shell& shell);
} // namespace CatalogueLocation
