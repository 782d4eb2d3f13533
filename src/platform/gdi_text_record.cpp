#include "gdi_text_record.h"

std::atomic<TextRecording*> TextRecording::s_pActive{nullptr};

TextRecording::TextRecording() : m_pPrevious(s_pActive.exchange(this)) {}

TextRecording::~TextRecording()
{
    s_pActive.store(m_pPrevious);
}

void TextRecording::Add(const QString& text, const QRect& cell, const QRect& clip, COLORREF clrText)
{
    if (m_texts.size() >= kMaxTexts) return;
    m_texts.push_back(DrawnText{text, cell, clip, clrText});
}
