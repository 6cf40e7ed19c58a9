// The start-up check of the data-access layer and its repair.
#include "mainwindow/form1.h"

void Form1::IsADOInstalled() {}
