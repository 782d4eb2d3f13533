#pragma once
#include <memory>
#include <string>

#include <QImage>

#include "child_process.h"

// A private X server (Xvfb) on a display number that the server picks itself among the
// free ones, so tests running side by side never meet on one display.
class XServer {
public:
    XServer(int nWidth, int nHeight, const std::string& scratchDir);
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool Started() const { return !m_strDisplay.empty(); }
    const std::string& Display() const { return m_strDisplay; }
    EnvChanges Env() const;

    // What the screen shows now, read with `import -window root`; a null image when the
    // read failed.
    QImage Screenshot() const;
    // Runs xdotool with the given arguments on this display; its exit status.
    int XDoTool(const std::vector<std::string>& args, std::string* pOut = nullptr) const;

private:
    std::string m_strScratch;
    std::string m_strDisplay;
    std::unique_ptr<ChildProcess> m_pXvfb;
};
