#include "gdi_text_runs.h"

#include <QPainter>

#include "gdi_font.h"

namespace {

QString KeyOf(const CFont& font, const QString& text, QRgb colour)
{
    return font.Font().key() + QLatin1Char('\x1f') + QString::number(colour, 16) + QLatin1Char('\x1f') + text;
}

qint64 BytesOf(const QImage& image) { return image.sizeInBytes(); }

}  // namespace

TextRunCache& TextRunCache::Instance()
{
    static TextRunCache cache;
    return cache;
}

std::optional<TextRunCache::Run> TextRunCache::Get(const CFont& font, const QString& text, QRgb colour)
{
    const QString key = KeyOf(font, text, colour);
    const std::lock_guard<std::mutex> lock(m_mtx);
    if (const auto hit = m_index.find(key); hit != m_index.end()) {
        m_entries.splice(m_entries.begin(), m_entries, hit.value());
        return m_entries.front().run;
    }

    // Ink can stray past the measured box by antialiasing and overhangs; leave room.
    const int pad = 2 + font.CellHeight() / 8;
    const QRect box = font.Metrics().boundingRect(text).adjusted(-pad, -pad, pad, pad);
    if (static_cast<qint64>(box.width()) * box.height() * 4 > kBudgetBytes / 2) return std::nullopt;

    Run run{QImage(box.size(), QImage::Format_ARGB32_Premultiplied), box.topLeft()};
    if (run.image.isNull()) return std::nullopt;
    run.image.fill(Qt::transparent);
    {
        QPainter painter(&run.image);
        painter.setFont(font.Font());
        painter.setPen(QColor::fromRgb(colour));
        painter.drawText(-box.left(), -box.top(), text);
    }

    m_nBytes += BytesOf(run.image);
    m_entries.push_front(Entry{key, run});
    m_index.insert(key, m_entries.begin());
    while (m_nBytes > kBudgetBytes && m_entries.size() > 1) {
        m_nBytes -= BytesOf(m_entries.back().run.image);
        m_index.remove(m_entries.back().key);
        m_entries.pop_back();
    }
    return run;
}
