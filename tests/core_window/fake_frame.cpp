#include "fake_frame.h"

#include <thread>

bool FakeFrame::Create()
{
    StartServing(SIZE{1920, 1080});
    return true;
}

void FakeFrame::ShowWithClientSize(int nWidth, int nHeight)
{
    StoreClientSize(SIZE{nWidth, nHeight});
    m_bShown = true;
    m_invalid = {RECT{0, 0, nWidth, nHeight}};
}

void FakeFrame::RunFor(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    auto nextTick = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRepaintPeriodMs);
    while (std::chrono::steady_clock::now() < end) {
        if (m_bRepaintRequested.exchange(false)) OnRepaintRequest();
        if (std::chrono::steady_clock::now() >= nextTick) {
            OnTimer();
            nextTick += std::chrono::milliseconds(kRepaintPeriodMs);
        }
        PaintInvalid();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void FakeFrame::PaintInvalid()
{
    if (m_invalid.empty()) return;
    CRecordDC dc;
    PaintScreen(dc, m_invalid);
    m_painted = dc.Record();
    m_invalid.clear();
    NoteScreenChanged();
    OfferSnapshot();
}

std::vector<std::string> FakeFrame::TakeCalls()
{
    std::vector<std::string> calls;
    calls.swap(m_calls);
    return calls;
}

void FakeFrame::InvalidatePart(const RECT& part)
{
    m_invalid.push_back(part);
    m_calls.push_back("invalidate");
}

void FakeFrame::CloseWindow()
{
    m_bClosed = true;
    m_calls.push_back("close");
}

void FakeFrame::SetCursorShown(bool bShown)
{
    m_bCursorShown = bShown;
    m_calls.push_back(bShown ? "cursor shown" : "cursor hidden");
}
