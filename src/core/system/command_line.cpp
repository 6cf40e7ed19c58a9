#include "core/system/command_line.h"

std::optional<QStringList> splitCommandLine(const QString& commandLine) {
    QStringList words;
    QString word;
    bool inWord = false;
    const qsizetype n = commandLine.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = commandLine.at(i);
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
            c == QLatin1Char('\r')) {
            if (inWord) {
                words << word;
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == QLatin1Char('\'')) {
            const qsizetype close = commandLine.indexOf(QLatin1Char('\''), i + 1);
            if (close < 0) {
                return std::nullopt;
            }
            word += commandLine.mid(i + 1, close - i - 1);
            i = close;
        } else if (c == QLatin1Char('"')) {
            qsizetype j = i + 1;
            for (; j < n && commandLine.at(j) != QLatin1Char('"'); ++j) {
                const QChar d = commandLine.at(j);
                if (d == QLatin1Char('\\') && j + 1 < n &&
                    QStringLiteral("$`\"\\\n").contains(commandLine.at(j + 1))) {
                    ++j;
                    if (commandLine.at(j) != QLatin1Char('\n')) {
                        word += commandLine.at(j);
                    }
                } else {
                    word += d;
                }
            }
            if (j >= n) {
                return std::nullopt;
            }
            i = j;
        } else if (c == QLatin1Char('\\') && i + 1 < n) {
            ++i;
            if (commandLine.at(i) != QLatin1Char('\n')) {
                word += commandLine.at(i);
            }
        } else {
            word += c;
        }
    }
    if (inWord) {
        words << word;
    }
    return words;
}
