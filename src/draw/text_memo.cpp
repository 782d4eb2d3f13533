#include "text_memo.h"

TextMemo::Measured TextMemo::Find(const std::u16string& text) const
{
    const std::lock_guard lock(m_mtx);
    const auto it = m_texts.find(text);
    return it != m_texts.end() ? it->second : Measured{};
}

TextMemo::Measured& TextMemo::Slot(const std::u16string& text)
{
    if (m_texts.size() >= kMaxTexts && m_texts.find(text) == m_texts.end()) m_texts.clear();
    return m_texts[text];
}

void TextMemo::KeepWidth(const std::u16string& text, int width)
{
    const std::lock_guard lock(m_mtx);
    Slot(text).width = width;
}

void TextMemo::KeepInk(const std::u16string& text, const RECT& ink)
{
    const std::lock_guard lock(m_mtx);
    Slot(text).ink = ink;
}
