// The least a Qt full-screen clock can cost: the floor the display's own figures are read
// against. A 100 ms timer that updates only the clock's box, and only when the second
// changes; the paint fills that box and draws the time with one drawText.
#include <QApplication>
#include <QFont>
#include <QPaintEvent>
#include <QPainter>
#include <QTime>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

class FloorClock : public QWidget {
public:
    FloorClock()
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const int nSecond = QTime::currentTime().second();
            if (nSecond == m_nShownSecond) return;
            m_nShownSecond = nSecond;
            update(ClockBox());
        });
        m_timer.start(100);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::black);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(std::max(1, height() * 2 / 5));
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(248, 248, 248));
        painter.drawText(ClockBox(), Qt::AlignCenter, QTime::currentTime().toString(QStringLiteral("mm:ss")));
    }

private:
    QRect ClockBox() const
    {
        const int nHeight = height() * 2 / 5;
        return QRect(0, (height() - nHeight) / 2, width(), nHeight);
    }

    QTimer m_timer;
    int m_nShownSecond = -1;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    FloorClock clock;
    clock.showFullScreen();
    return app.exec();
}
