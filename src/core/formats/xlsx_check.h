#pragma once

#include <QString>

// Checks that a written .xlsx file is complete: a readable zip archive whose
// every part unpacks to its recorded size and checksum, and whose every XML
// part ends with the closing tag of its root element. Fails with a
// description otherwise. The writing library does not notice every failed
// write (a full disk cuts its scratch files short without an error), so a
// workbook is only handed on after this check.
void checkXlsxComplete(const QString& path);
