#include "mainwindow/button_mnemonics.h"

#include <QPushButton>

namespace {

// Button number, its access letter (as it appears in the caption).
struct Mnemonic {
    int button;
    char letter;
};
constexpr Mnemonic kMnemonics[] = {
    {4, 'A'}, // &Add New Movie
    {1, 'D'}, // &Delete Selected Movie
    {5, 'E'}, // &Edit Selected Movie
    {7, 'L'}, // &Load Sample/Example Data
    {6, 'C'}, // &Clear Database
    {3, 'x'}, // Copy Database To E&xcel
    {2, 'M'}, // Copy &Movies To Clipboard
    {8, 'H'}, // &Help
};

} // namespace

QString withMnemonic(const QString& caption, QChar letter) {
    QString text = caption;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            ++i; // skip the doubled marker
        } else if (text.at(i) == letter) {
            text.insert(i, QLatin1Char('&'));
            return text;
        }
    }
    return text;
}

QString visibleCaption(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        shown.append(text.at(i));
    }
    return shown;
}

QKeySequence buttonAccessKey(Button button) {
    for (const Mnemonic& mnemonic : kMnemonics) {
        if (mnemonic.button == int(button)) {
            return {Qt::ALT | Qt::Key(QChar::toUpper(char16_t(mnemonic.letter)))};
        }
    }
    return {};
}

void applyButtonMnemonics(const std::array<QPushButton*, 8>& buttons) {
    for (const Mnemonic& mnemonic : kMnemonics) {
        QPushButton& button = *buttons.at(std::size_t(mnemonic.button - 1));
        button.setText(withMnemonic(button.text(), QLatin1Char(mnemonic.letter)));
    }
}
