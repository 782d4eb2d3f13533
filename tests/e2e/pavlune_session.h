#pragma once
#include <QColor>
#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "x_server.h"

// Generous: a fresh CI machine shared with a parallel build can be slow to start Qt.
inline constexpr std::chrono::seconds kDeadline{30};

// A scratch directory of one test, removed with everything in it at the end. It is also
// the test's XDG_RUNTIME_DIR, so tests running side by side never share the
// single-instance lock.
class ScratchDir {
public:
    ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir();
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

// The programs under test, as built.
std::string PavluneProgram();
std::string SendProgram();

// One running copy of the display, started from outside as a person would.
class PavluneProcess {
public:
    PavluneProcess(const std::vector<std::string>& args, const EnvChanges& env, const std::string& scratchDir,
                   const std::string& name = "pavlune");
    ChildProcess& Process() { return *m_pProcess; }
    // The port from "listening on port N", or 0 when it did not appear in time.
    int WaitListening();

private:
    std::unique_ptr<ChildProcess> m_pProcess;
};

// The port from the display's "listening on port N", or 0 when it did not appear in time
// (or the display ended first).
int WaitListening(ChildProcess& process);

// pavlune-send against the given port.
ToolResult Send(int nPort, const std::vector<std::string>& args, const std::string& scratchDir);

int CountColour(const QImage& image, const QRect& area, QRgb colour);
bool AllPixelsAre(const QImage& image, const std::vector<QPoint>& points, QRgb colour);

// Colours the display is known to draw.
inline constexpr QRgb kInfoBackground = qRgb(22, 96, 128);
inline constexpr QRgb kInfoTitle = qRgb(255, 255, 0);
