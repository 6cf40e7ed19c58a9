#pragma once

#include "core/import/import_limits.h"
#include "core/import/import_plan.h"
#include "core/import/row_reader.h"

#include <memory>

// A reader for the file by what it holds, whatever its name: an .xlsx
// workbook (a zip container), otherwise a text table (CSV, tab-separated
// text or the clipboard copy). Fails (ImportFailure) on a file that cannot
// be read, is too large, empty, binary, or a spreadsheet format not read.
std::unique_ptr<RowReader> openImportFile(const QString& path, const ImportLimits& limits = {});

// Reads the file and plans its import against the movies in the catalogue.
ImportPlan planImportFile(const QString& path, const LookAlikeKeys& existing,
                          const ImportProgress& progress = {}, const ImportLimits& limits = {});
// The same against movies held in memory.
ImportPlan planImportFile(const QString& path, const std::vector<DvdRecord>& existing,
                          const ImportProgress& progress = {}, const ImportLimits& limits = {});
