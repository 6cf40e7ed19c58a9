// The catalogue commands behind the main window's buttons.
#include "mainwindow/form1.h"

void Form1::PushButton1_Click() {}
void Form1::PushButton4_Click() {}
void Form1::PushButton5_Click() {}
void Form1::PushButton6_Click() {}
void Form1::PushButton7_Click() {}
void Form1::PushButton8_Click() {}
