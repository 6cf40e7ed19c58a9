#pragma once

#include <QByteArray>
#include <QString>
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

// A workbook of several sheets, each its name and its <sheetData> content
// (inline texts and numbers only), in tab order.
QByteArray makeWorkbookOfSheets(const std::vector<std::pair<QByteArray, QByteArray>>& sheets);

// An OpenDocument spreadsheet around the <table:table> elements of its
// content, its parts as a spreadsheet program writes them.
QByteArray makeSpreadsheet(const QByteArray& tables);
