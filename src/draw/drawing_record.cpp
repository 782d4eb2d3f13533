#include "drawing_record.h"

#include <algorithm>
#include <cstdio>

#include "text/wide_text.h"

namespace {

constexpr std::size_t kMaxParts = 8;

// Joins overlapping or touching rectangles until none meet.
void JoinMeeting(std::vector<RECT>& parts)
{
    for (bool bJoined = true; bJoined;) {
        bJoined = false;
        for (std::size_t i = 0; i < parts.size() && !bJoined; ++i) {
            for (std::size_t j = i + 1; j < parts.size(); ++j) {
                if (RectsMeet(parts[i], parts[j], true)) {
                    parts[i] = RectUnion(parts[i], parts[j]);
                    parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(j));
                    bJoined = true;
                    break;
                }
            }
        }
    }
}

}  // namespace

std::vector<const DrawnOp*> DrawingRecord::Texts() const
{
    std::vector<const DrawnOp*> texts;
    for (const DrawnOp& op : m_ops) {
        if (op.kind == DrawnOp::Kind::Text) texts.push_back(&op);
    }
    return texts;
}

std::vector<RECT> ChangedAreas(const DrawingRecord& before, const DrawingRecord& after, const RECT& client)
{
    const std::vector<DrawnOp>& a = before.Ops();
    const std::vector<DrawnOp>& b = after.Ops();
    if (a.size() != b.size() || before.Overflowed() || after.Overflowed()) {
        return IsRectEmpty(client) ? std::vector<RECT>{} : std::vector<RECT>{client};
    }
    // A pixel that no differing operation touches is drawn by the same operations in the
    // same order over the same pixels below, so it stays as it is.
    std::vector<RECT> parts;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        for (const RECT& rc : {a[i].bounds, b[i].bounds}) {
            const RECT part = RectIntersection(rc, client);
            if (!IsRectEmpty(part)) parts.push_back(part);
        }
    }
    JoinMeeting(parts);
    if (parts.size() > kMaxParts) {
        RECT box{};
        for (const RECT& part : parts) box = RectUnion(box, part);
        parts = {box};
    }
    return parts;
}

namespace {

const char* KindName(DrawnOp::Kind kind)
{
    switch (kind) {
    case DrawnOp::Kind::Fill: return "Fill";
    case DrawnOp::Kind::Blend: return "Blend";
    case DrawnOp::Kind::Region: return "Region";
    case DrawnOp::Kind::Text: return "Text";
    case DrawnOp::Kind::Picture: return "Picture";
    case DrawnOp::Kind::Keyed: return "Keyed";
    }
    return "?";
}

std::string RectText(const RECT& rc)
{
    return std::to_string(rc.left) + " " + std::to_string(rc.top) + " " + std::to_string(rc.right) + " " +
           std::to_string(rc.bottom);
}

}  // namespace

std::string DrawingRecordText(const DrawingRecord& record)
{
    std::string text;
    for (const DrawnOp& op : record.Ops()) {
        char colour[8];
        std::snprintf(colour, sizeof colour, "#%02X%02X%02X", GetRValue(op.clr), GetGValue(op.clr), GetBValue(op.clr));
        text += std::string(KindName(op.kind)) + " " + RectText(op.area) + " | " + RectText(op.bounds) + " | " + colour;
        if (op.kind == DrawnOp::Kind::Text) text += " | " + WideToUtf8(op.text);
        text += "\n";
    }
    return text;
}
