#include "page_text.h"

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string CutAtCharacter(std::string text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    // A sequence is at most four bytes long; a longer run of continuation bytes is not
    // UTF-8 anyway and is cut where it stands.
    for (int back = 0; back < 3 && end > 0 && IsContinuationByte(text[end]); ++back) --end;
    if (IsContinuationByte(text[end])) end = maxBytes;
    text.resize(end);
    return text;
}
