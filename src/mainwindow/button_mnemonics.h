#pragma once

#include <QString>

class Form1;

// Alt+letter for each of the main window's eight buttons. The letter is
// underlined in the caption; the caption's visible text stays as it is.
void applyButtonMnemonics(Form1& form);

// The caption with an '&' before the first occurrence of letter (any '&'
// already in it is doubled so that it still shows); the caption unchanged
// when the letter does not occur in it.
QString withMnemonic(const QString& caption, QChar letter);

// The text a button shows: single '&' markers removed, "&&" shown as '&'.
QString visibleCaption(const QString& text);
