#pragma once
// pavlune-send run as a program, as a director runs it, against real displays: the built
// pavlune on the offscreen platform, and the display's own server recording the wire.
#include <QColor>
#include <QImage>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pavlune_session.h"
#include "recording_display.h"

// The screen of the display processes the tests start.
inline constexpr int kDisplayWidth = 1920;
inline constexpr int kDisplayHeight = 1080;

// One display process with its own runtime directory (so that its single-instance lock
// is its own), listening on a free port and keeping a snapshot of its window.
class DisplayProcess {
public:
    DisplayProcess(const std::string& scratchDir, const std::string& name, int width, int height);
    int Port() const { return m_nPort; }
    bool Running() { return m_process->Process().Running(); }
    // Waits for a snapshot that satisfies the condition; false when none came in time.
    bool WaitForScreen(const std::function<bool(const QImage&)>& condition) const;

private:
    std::string m_strDir;
    std::unique_ptr<PavluneProcess> m_process;
    int m_nPort = 0;
};

// What the sender's result should be: its status, its standard output exactly, and a
// fragment that its one line on standard error must hold (empty: nothing on it).
struct Expected {
    int status;
    std::string out;
    std::string errHas;
};

// pavlune-send with the given arguments and environment changes; stdinPath, when given,
// becomes its standard input.
ToolResult RunSend(const std::vector<std::string>& args, const EnvChanges& env = {},
                   const std::string& stdinPath = "");

// Checks the result against what was expected; every failure is one whole line.
void ExpectOutcome(const ToolResult& r, const Expected& expected);

// A scratch file holding the given bytes, or a picture in the given format.
std::string WriteScratch(const std::string& dir, const std::string& name, const std::string& bytes);
std::string WritePicture(const std::string& dir, const std::string& name, const QImage& image,
                         const char* format = "PNG");

// A portrait photo stand-in: the left half red, the right half blue.
QImage HalvesPicture(int width, int height);

// The colour at x, y, as 0xRRGGBB.
inline QRgb RgbAt(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }
