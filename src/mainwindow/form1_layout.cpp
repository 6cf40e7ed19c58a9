// The main window's two layouts: fixed, and stretched while maximised.
#include "mainwindow/form1.h"

void Form1::Form_Resize() {}
