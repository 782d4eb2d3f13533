#pragma once
#include <QRect>
#include <QString>

#include <atomic>
#include <cstddef>
#include <vector>

#include "platform/colour.h"

// One line of text as a context drew it: the cell it was laid out in (its measured width
// by the font's cell height) and the rectangle it was clipped to (null when unclipped).
struct DrawnText {
    QString text;
    QRect cell;
    QRect clip;
    COLORREF clrText = 0;
};

// While one of these lives, every line of text drawn through any context is noted in it,
// so a test can check where the screens put their texts by the layout itself, not by
// guessing from pixels. Off by default: with none alive a drawing pays one pointer read.
// The one made last gets the lines until it ends; it belongs to the thread that draws.
// Keeps the first kMaxTexts lines, enough for many repaints of any screen.
class TextRecording {
public:
    static constexpr std::size_t kMaxTexts = 4096;

    TextRecording();
    ~TextRecording();
    TextRecording(const TextRecording&) = delete;
    TextRecording& operator=(const TextRecording&) = delete;

    const std::vector<DrawnText>& Texts() const { return m_texts; }
    void Clear() { m_texts.clear(); }

    // For the context: notes the line when a recording is on.
    static void Note(const QString& text, const QRect& cell, const QRect& clip, COLORREF clrText)
    {
        if (TextRecording* pActive = s_pActive.load(std::memory_order_relaxed)) pActive->Add(text, cell, clip, clrText);
    }

private:
    void Add(const QString& text, const QRect& cell, const QRect& clip, COLORREF clrText);

    static std::atomic<TextRecording*> s_pActive;
    TextRecording* m_pPrevious;
    std::vector<DrawnText> m_texts;
};
