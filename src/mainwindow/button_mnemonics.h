#pragma once

#include "mainwindow/button.h"

#include <QKeySequence>
#include <QString>
#include <array>

class QPushButton;

// Alt+letter for each of the main window's eight buttons (PushButton1 ..
// PushButton8, in that order). The letter is underlined in the caption; the
// caption's visible text stays as it is.
void applyButtonMnemonics(const std::array<QPushButton*, 8>& buttons);

// The button's access key: Alt and its letter.
QKeySequence buttonAccessKey(Button button);

// The caption with an '&' before the first occurrence of letter (any '&'
// already in it is doubled so that it still shows); the caption unchanged
// when the letter does not occur in it.
QString withMnemonic(const QString& caption, QChar letter);

// The text a button shows: single '&' markers removed, "&&" shown as '&'.
QString visibleCaption(const QString& text);
