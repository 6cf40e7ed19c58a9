#pragma once

#include "core/import/import_limits.h"
#include "core/import/import_plan.h"
#include "core/import/row_reader.h"

#include <memory>

// A reader for the file by what it holds: an .xlsx workbook or an
// OpenDocument spreadsheet (zip containers; an .ods also by its name),
// otherwise a text table (CSV, tab-separated text or the clipboard copy).
// Of a workbook it reads the sheet named `sheet`, else the first with data.
// Fails (ImportFailure) on a file that cannot be read, is too large, empty,
// binary, a spreadsheet format not read, or has no sheet of that name.
std::unique_ptr<RowReader> openImportFile(const QString& path, const ImportLimits& limits = {},
                                          const QString& sheet = {});

// Reads the file and plans its import against the movies in the catalogue.
ImportPlan planImportFile(const QString& path, const LookAlikeKeys& existing,
                          const ImportProgress& progress = {}, const ImportLimits& limits = {},
                          const QString& sheet = {});
// The same against movies held in memory.
ImportPlan planImportFile(const QString& path, const std::vector<DvdRecord>& existing,
                          const ImportProgress& progress = {}, const ImportLimits& limits = {},
                          const QString& sheet = {});
