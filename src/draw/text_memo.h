#pragma once
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "draw/gdi_types.h"

// What one font has measured, by text: a screen is measured ten times a second and asks
// the same few texts each time, and each question costs the platform a text layout (Qt)
// or the font selected into a context and back (GDI). Bounded: at kMaxTexts texts all are forgotten and measuring starts afresh.
// Fonts are measured on the window thread and the message thread, so it is locked.
class TextMemo {
public:
    static constexpr std::size_t kMaxTexts = 64;

    struct Measured {
        std::optional<int> width;
        std::optional<RECT> ink;
    };

    // The text's measures known so far.
    Measured Find(const std::u16string& text) const;
    void KeepWidth(const std::u16string& text, int width);
    void KeepInk(const std::u16string& text, const RECT& ink);

private:
    Measured& Slot(const std::u16string& text);

    mutable std::mutex m_mtx;
    std::unordered_map<std::u16string, Measured> m_texts;
};
