#pragma once

// Lets pending window events run, from inside a long procedure.
void pumpEvents();
