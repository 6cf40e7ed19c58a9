// The main window's skin.
#include "mainwindow/form1.h"

void Form1::ApplySkin() {}
