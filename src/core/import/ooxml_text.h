#pragma once

#include <QString>

// Office Open XML writes a character that XML cannot hold (a control
// character such as CR) as "_x" + four hex digits + "_"; such text that
// really is in a value has its underscore written as "_x005F_".

// The text with every such escape turned back into its character.
QString decodeOoxmlEscapes(const QString& text);

// The text with each literal escape-like sequence protected, so that it reads
// back unchanged (the writing library escapes the control characters itself).
QString protectOoxmlEscapes(const QString& text);
