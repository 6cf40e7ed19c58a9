#pragma once

// Ending the program. Tests hand in a fake that records the calls.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    // Ends the program at once: no window's closing handlers run and nothing
    // else of the program runs.
    [[noreturn]] virtual void End() = 0;
    // Ends the program after the main window has closed: every event loop
    // is left, open dialogs included, and nothing more is handled.
    virtual void Quit() = 0;
};

class ExitProgram : public ProgramEnd {
public:
    [[noreturn]] void End() override;
    void Quit() override;
};
