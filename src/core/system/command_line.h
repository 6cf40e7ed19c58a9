#pragma once

#include <QStringList>
#include <optional>

// Splits a command line into the program and its arguments the way a POSIX
// shell splits words, without any expansion: blanks separate words, text in
// '...' is taken as it is, in "..." a backslash escapes only $ ` " \ and a
// line break, and elsewhere a backslash takes the next character as it is.
// Nothing when a quote is not closed.
std::optional<QStringList> splitCommandLine(const QString& commandLine);
