#pragma once

#include "core/import/import_failure.h"
#include "core/import/import_limits.h"
#include "core/import/row_reader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// A zip container holding the parts, built in memory with libzip.
QByteArray makeZip(const std::vector<std::pair<QString, QByteArray>>& parts);

// A one-sheet workbook around the sheet's <sheetData> content, with optional
// shared texts (<si> elements), cell formats (<numFmts> + <cellXfs>
// elements) and <workbookPr> attributes; parts as a spreadsheet program
// writes them, the sheet through relationship "rId7".
QByteArray makeWorkbook(const QByteArray& sheetData, const QByteArray& sharedTexts = {},
                        const QByteArray& styles = {}, const QByteArray& workbookAttributes = {});

// Every row a reader gives, with each row's number in front as text.
QList<QStringList> numberedRows(RowReader& reader);

// The rows of a text table read from memory.
std::unique_ptr<RowReader> textReader(const QByteArray& bytes, const ImportLimits& limits = {});
std::unique_ptr<RowReader> workbookReader(const QByteArray& zipBytes,
                                          const ImportLimits& limits = {});

// The failure the call ends with; fails the test when it ends without one.
ImportFailure failureOf(const std::function<void()>& call);
