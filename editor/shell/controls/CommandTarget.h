// A window that takes the main window's forwarded commands: Ctrl+A (select
// all, 32771) and the Delete key (40034) go to whichever window has the
// keyboard focus, which handles them in its own way.
#pragma once

class CommandTarget {
public:
    static constexpr int kSelectAll = 32771;
    static constexpr int kDelete = 40034;

    virtual ~CommandTarget() = default;
    // True when the window handled the command.
    virtual bool OnForwardedCommand(int id) = 0;
};
