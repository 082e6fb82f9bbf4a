// The floor the game is measured against: a bare Qt window that shows what
// the game's screens show, done the plainest way Qt allows. It fills the
// screen without a frame, repaints every 16 ms (the game's pace) with a
// 1000-point star image drawn afresh every 100 ms and 20 of the game's
// sprites that a 10 ms timer moves down the screen; a mouse press draws a
// beam to the pointer and paints at once, the release takes it away.
//
// It writes the same trace as the game (KELVO_TRACE, platform/qt/Trace.h),
// so the benchmark reads both the same way. Not part of the game.

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <vector>

#include "platform/qt/Trace.h"

namespace {

namespace trace = platform::qt::trace;

constexpr int kFrameMs = 16;
constexpr int kMoveMs = 10;
constexpr int kStarsMs = 100;
constexpr int kStars = 1000;

class Field final : public QWidget {
public:
    Field() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        const char* names[] = {"ship0",    "ship1",    "ship2",    "ship3",    "ship4",    "ship5",     "ship6",
                               "ship7",    "ship8",    "missile0", "missile1", "missile2", "missile3",  "missile4",
                               "missile5", "missile6", "missile7", "missile8", "missile9", "satellite1"};
        int x = 40;
        for (const char* name : names) {
            sprites_.push_back({QPixmap(), QPointF(x, 0)});
            x += 90;
            names_.push_back(QString::fromLatin1(name));
        }
        connect(&frame_, &QTimer::timeout, this, [this] { update(); });
        connect(&move_, &QTimer::timeout, this, [this] {
            if (trace::On()) trace::TimerTick(&move_);
            for (Sprite& s : sprites_) {
                s.at.ry() += 2;
                if (s.at.y() > height()) s.at.ry() = 0;
            }
        });
        connect(&stars_, &QTimer::timeout, this, [this] {
            if (trace::On()) trace::TimerTick(&stars_);
            drawStars();
        });
        for (QTimer* t : {&frame_, &move_, &stars_}) t->setTimerType(Qt::PreciseTimer);
    }

    void start() {
        const qreal dpr = devicePixelRatioF();
        for (std::size_t i = 0; i < sprites_.size(); ++i) {
            const QString base = QStringLiteral(":/pictures/") + names_[i];
            if (dpr > 1.01) {
                sprites_[i].pixmap = QPixmap(base + QStringLiteral("@2x.png"));
                sprites_[i].pixmap.setDevicePixelRatio(2.0);
            } else {
                sprites_[i].pixmap = QPixmap(base + QStringLiteral(".png"));
            }
        }
        drawStars();
        frame_.start(kFrameMs);
        move_.start(kMoveMs);
        stars_.start(kStarsMs);
        if (trace::On()) {
            trace::TimerStarted(&move_, "floor.move", kMoveMs);
            trace::TimerStarted(&stars_, "floor.stars", kStarsMs);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const std::int64_t begin = trace::On() ? trace::Now() : 0;
        QPainter p(this);
        p.drawImage(QPoint(0, 0), image_);
        for (const Sprite& s : sprites_) p.drawPixmap(s.at, s.pixmap);
        if (beam_) {
            p.setPen(QPen(Qt::red, 1));
            p.drawLine(beamFrom_, beamTo_);
        }
        if (trace::On()) trace::Paint(begin, trace::Now());
    }

    void mousePressEvent(QMouseEvent* e) override {
        if (trace::On()) trace::Press(trace::Now(), true);
        beam_ = true;
        beamFrom_ = QPointF(width() / 2.0, height() - 100.0);
        beamTo_ = e->position();
        update();
    }

    void mouseReleaseEvent(QMouseEvent*) override {
        beam_ = false;
        update();
    }

private:
    struct Sprite {
        QPixmap pixmap;
        QPointF at;
    };

    // A clean image of the window's size in device pixels with 1000 white
    // points of one pixel each.
    void drawStars() {
        const qreal dpr = devicePixelRatioF();
        const QSize want(static_cast<int>(std::ceil(width() * dpr)), static_cast<int>(std::ceil(height() * dpr)));
        if (image_.size() != want) {
            image_ = QImage(want, QImage::Format_RGB32);
            image_.setDevicePixelRatio(dpr);
        }
        image_.fill(Qt::black);
        const int n = static_cast<int>(std::lround(dpr));
        QRandomGenerator& random = *QRandomGenerator::global();
        for (int i = 0; i < kStars; ++i) {
            const int x = random.bounded(std::max(1, want.width() - n)),
                      y = random.bounded(std::max(1, want.height() - n));
            for (int yy = y; yy < y + n; ++yy) {
                auto* line = reinterpret_cast<QRgb*>(image_.scanLine(yy));
                for (int xx = x; xx < x + n; ++xx) line[xx] = 0xFFFFFFFF;
            }
        }
    }

    std::vector<Sprite> sprites_;
    std::vector<QString> names_;
    QImage image_;
    QTimer frame_, move_, stars_;
    bool beam_ = false;
    QPointF beamFrom_, beamTo_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Field field;
    if (const QScreen* s = QGuiApplication::primaryScreen()) field.setGeometry(s->geometry());
    field.show();
    field.start();
    return QApplication::exec();
}
