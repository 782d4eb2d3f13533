#include "gdi_text_runs.h"

#include <QPainter>

#include <iterator>

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
        m_entries.front().bUsed = true;
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
    while (m_nBytes > kBudgetBytes && m_entries.size() > 1) Remove(std::prev(m_entries.end()));
    return run;
}

void TextRunCache::Remove(std::list<Entry>::iterator it)
{
    m_nBytes -= BytesOf(it->run.image);
    m_index.remove(it->key);
    m_entries.erase(it);
}

void TextRunCache::DropUnused()
{
    const std::lock_guard<std::mutex> lock(m_mtx);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        const auto next = std::next(it);
        if (!it->bUsed) {
            Remove(it);
        } else {
            it->bUsed = false;
        }
        it = next;
    }
}
