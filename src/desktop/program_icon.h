#pragma once

#include <QIcon>

// The program's icon, shown by both windows.
QIcon programIcon();
