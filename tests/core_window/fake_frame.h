#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "core/display_core.h"

// The display's core in a window of no toolkit: what the core asks of the window is
// written down for the tests to read, the test's thread is the window thread, and the
// idle cursor's clock is the test's to move.
class FakeFrame : public CDisplayCore {
public:
    explicit FakeFrame(int nPort = 0) : CDisplayCore(nPort) {}
    ~FakeFrame() override { StopServer(); }

    bool Create() override;
    void ShowMaximized() override { ShowWithClientSize(1920, 1080); }
    void ShowWithClientSize(int nWidth, int nHeight) override;

    // The window system's loop for a while: repaint requests of other threads are
    // answered, the timer ticks every kRepaintPeriodMs, invalid parts are painted.
    void RunFor(std::chrono::milliseconds duration);
    // Paints what is invalid, as a repaint would; what it drew is kept in Painted().
    void PaintInvalid();

    void AdvanceMs(std::uint64_t nMs) { m_nNowMs += nMs; }
    void Hide() { m_bShown = false; }

    // What the core asked of the window, as one word per call, oldest first; read and
    // forgotten by TakeCalls.
    std::vector<std::string> TakeCalls();
    const std::vector<RECT>& Invalid() const { return m_invalid; }
    const DrawingRecord& Painted() const { return m_painted; }
    bool IsShownCursor() const { return m_bCursorShown; }
    bool IsClosed() const { return m_bClosed; }

protected:
    void RequestRepaint() override { m_bRepaintRequested = true; }
    void ShownPicture(Image32& picture) const override { picture = Image32(); }
    bool IsWindowShown() const override { return m_bShown; }
    void InvalidatePart(const RECT& part) override;
    bool KeepsPictureBetweenRepaints() const override { return true; }
    void ShowFullScreen() override { m_calls.push_back("full screen"); }
    void ShowRestored() override { m_calls.push_back("restored"); }
    void CloseWindow() override;
    void UpdateNow() override { m_calls.push_back("update"); }
    void SetCursorShown(bool bShown) override;
    void HoldScreenAwake(bool bHold) override { m_calls.push_back(bHold ? "awake" : "may blank"); }
    std::uint64_t TickCountMs() const override { return m_nNowMs; }

private:
    std::atomic<bool> m_bRepaintRequested{false};
    bool m_bShown = false;
    bool m_bClosed = false;
    bool m_bCursorShown = true;
    std::uint64_t m_nNowMs = 1000;
    std::vector<std::string> m_calls;
    std::vector<RECT> m_invalid;
    DrawingRecord m_painted;
};
