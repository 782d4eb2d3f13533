#pragma once
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>

#include <list>
#include <mutex>
#include <optional>

class CFont;

// Texts rendered once and then copied. Glyphs past a few dozen pixels are filled as
// outlines on every draw, which costs milliseconds at clock and title sizes, while a
// screen redraws the same few texts at every repaint. Runs are kept by font, colour and
// text, the least recently used dropped past a memory budget; DropUnused keeps only what
// the latest repaint drew, so a clock that shows a new text every second does not fill
// the budget with texts that will never come back. Safe from any thread.
class TextRunCache {
public:
    struct Run {
        QImage image;   // premultiplied ARGB, transparent around the glyphs
        QPoint offset;  // from the pen position on the baseline to the image's top left
    };

    static constexpr qint64 kBudgetBytes = 64 * 1024 * 1024;

    // The run, or nothing when it would take more than half the budget (draw it directly).
    std::optional<Run> Get(const CFont& font, const QString& text, QRgb colour);
    // Drops every run not asked for since the previous call; for the end of a repaint.
    void DropUnused();

    static TextRunCache& Instance();

private:
    struct Entry {
        QString key;
        Run run;
        bool bUsed = true;
    };
    void Remove(std::list<Entry>::iterator it);

    std::mutex m_mtx;
    std::list<Entry> m_entries;  // most recently used first
    QHash<QString, std::list<Entry>::iterator> m_index;
    qint64 m_nBytes = 0;
};
