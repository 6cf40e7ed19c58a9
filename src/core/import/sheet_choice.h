#pragma once

#include <QString>
#include <QStringList>

// The sheet of a workbook to read: the one named `asked` when given (it must
// be one of `withData`, the sheets with data in tab order), else the first
// sheet with data, else `first` (a workbook with nothing in it, which then
// reads as empty). Fails (ImportFailure, NoSuchSheet) naming the sheets with
// data when `asked` is not among them.
QString chooseSheet(const QStringList& withData, const QString& asked, const QString& first);

// "\"Movies\", \"Old\"": sheet names as a message lists them.
QString quotedSheetNames(const QStringList& names);
