#include "core/system/program_end.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

void ExitProgram::End() {
    std::fflush(nullptr);
    std::_Exit(0);
}

void ExitProgram::Quit() {
    QCoreApplication::exit(0);
}
