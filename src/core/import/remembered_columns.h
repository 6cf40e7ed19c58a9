#pragma once

#include "core/import/column_map.h"

#include <QStringList>
#include <optional>
#include <vector>

class SettingsStore;
struct ImportPlan;

// The fields a person chose for the columns of a file, remembered in the
// settings for its header row, so that the next file whose header has the
// same texts (case ignored, blanks collapsed) starts with them. Each is kept
// as the fields' names, one a column ("title,year,ignore,runtime").

// The settings key for a header row: "ImportColumns/" and a hash of its
// normalised texts.
QString rememberedColumnsKey(const QStringList& headers);
// The fields remembered for the header row, one a column (HeaderMatch::kNone
// for an ignored one); none when nothing is stored for it, or something that
// does not fit it.
std::optional<std::vector<int>> rememberedFields(SettingsStore& settings,
                                                 const QStringList& headers);
// Remembers the fields for the header row; fails (Failure) when the setting
// cannot be written.
void rememberFields(SettingsStore& settings, const QStringList& headers,
                    const std::vector<int>& fields);

// The header texts and the fields of the plan's columns.
QStringList headersOf(const ImportPlan& plan);
std::vector<int> fieldsOf(const ImportPlan& plan);
// One choice by position for each column, reading the columns as `fields`.
std::vector<ColumnChoice> choicesByPosition(const std::vector<int>& fields);
