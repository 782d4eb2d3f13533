#pragma once

// Keeps the display from blanking and the machine from sleeping for as long as it lives
// (SetThreadExecutionState on the window thread, which makes and ends it), and lets both
// happen again when it goes. Each change writes a line to the diagnostic log: Wine
// accepts the call but shows no effect, so the log is where a test sees it was made.
class ScreenAwake {
public:
    ScreenAwake();
    ScreenAwake(const ScreenAwake&) = delete;
    ScreenAwake& operator=(const ScreenAwake&) = delete;
    ~ScreenAwake();
};
