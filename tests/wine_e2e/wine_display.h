#pragma once
#include <QImage>
#include <QRect>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "shown_ops.h"

// The Windows programs run under Wine, in the prefix and on the X server (a Wine virtual
// desktop of kWineScreenWidth x kWineScreenHeight) that tests/wine/run_e2e.sh prepares.
inline constexpr int kWineScreenWidth = 1280;
inline constexpr int kWineScreenHeight = 800;

std::string WindowsProgram(const std::string& name);
// The path as a Windows program names it, through Wine's Z: drive.
std::string WindowsPath(const std::string& unixPath);
// The Windows user of the prefix, and that user's folder (C:\users\NAME) as seen from here.
std::string PrefixUserName();
std::string PrefixUserDir();
// The prefix's own folders that the display keeps its state and configuration in.
std::string PrefixStateDir();
std::string PrefixConfigDir();


// The Windows display, started with `wine` and its stdout and stderr in files of the
// scratch folder. Its snapshot, with the operations that drew it, goes there too.
class WineDisplay {
public:
    // program: the display's file; the one of the Windows build when empty.
    WineDisplay(const std::vector<std::string>& args, const std::string& scratchDir, const EnvChanges& env = {},
                const std::string& name = "pavlune", const std::string& program = "");

    ChildProcess& Process() { return *m_pProcess; }
    // The port from "listening on port N", or 0 when it did not come in time.
    int WaitListening();
    // The latest snapshot and the operations that drew it; empty before the first.
    QImage Snapshot() const;
    std::vector<ShownOp> Ops() const;
    // Waits until the operations hold a text line that contains the needle; that line.
    std::optional<ShownOp> WaitForText(const std::string& needle, std::chrono::milliseconds deadline) const;
    const std::string& SnapshotPath() const { return m_strSnapshot; }

private:
    std::string m_strSnapshot;
    std::unique_ptr<ChildProcess> m_pProcess;
};

// The box around every pixel of exactly the colour; empty when there is none.
QRect ColourBox(const QImage& image, QRgb colour);

// Runs xdotool on the test's X server.
int XDoTool(const std::vector<std::string>& args);
