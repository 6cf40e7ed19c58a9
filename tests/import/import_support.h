#pragma once

#include "core/import/import_failure.h"
#include "core/import/import_limits.h"
#include "core/import/row_reader.h"
#include "workbook_builder.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// Every row a reader gives, with each row's number in front as text.
QList<QStringList> numberedRows(RowReader& reader);

// The rows of a text table read from memory.
std::unique_ptr<RowReader> textReader(const QByteArray& bytes, const ImportLimits& limits = {});
std::unique_ptr<RowReader> workbookReader(const QByteArray& zipBytes,
                                          const ImportLimits& limits = {},
                                          const QString& sheet = {});
std::unique_ptr<RowReader> spreadsheetReader(const QByteArray& zipBytes,
                                             const ImportLimits& limits = {},
                                             const QString& sheet = {});

// The failure the call ends with; fails the test when it ends without one.
ImportFailure failureOf(const std::function<void()>& call);
