#include "shown_ops.h"

#include <sstream>

namespace {

QRect RectFrom(std::istringstream& in)
{
    int l = 0, t = 0, r = 0, b = 0;
    in >> l >> t >> r >> b;
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

}  // namespace

std::vector<ShownOp> ParseOps(const std::string& text)
{
    std::vector<ShownOp> ops;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream in(line);
        ShownOp op;
        std::string bar;
        in >> op.kind;
        op.area = RectFrom(in);
        in >> bar;
        op.bounds = RectFrom(in);
        in >> bar >> op.colour;
        if (op.kind == "Text") {
            const std::size_t at = line.find(" | ", line.find(op.colour));
            op.text = at == std::string::npos ? "" : line.substr(at + 3);
        }
        ops.push_back(op);
    }
    return ops;
}

std::vector<QRect> RunningTextBounds(const std::vector<ShownOp>& ops)
{
    std::vector<QRect> bounds;
    for (const ShownOp& op : ops) {
        if (op.kind == "Text" && op.text.find(':') != std::string::npos) bounds.push_back(op.bounds);
    }
    return bounds;
}

int DifferencesOutside(const QImage& a, const QImage& b, const std::vector<QRect>& areas)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            bool bExcluded = false;
            for (const QRect& area : areas) bExcluded |= area.contains(x, y);
            if (!bExcluded && (a.pixel(x, y) & 0xFFFFFFu) != (b.pixel(x, y) & 0xFFFFFFu)) ++n;
        }
    }
    return n;
}
