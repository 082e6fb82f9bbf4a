// The floor the game is measured against: a bare Qt window that shows what
// the game's screens show, done the plainest way Qt allows. It fills the
// screen without a frame, repaints every 16 ms (the game's pace) with a
// 1000-point star image drawn afresh every 100 ms and 20 of the game's
// sprites that a 10 ms timer moves down the screen; a mouse press draws a
// beam to the pointer and paints at once, the release takes it away.
//
// With --careful it does the same visible work the way a game that repaints
// only what changed would: each 16 ms it repaints only the sprites' old and
// new rectangles and the stars that went out or came on since the last frame,
// and a press repaints only the beam. That is the floor for such a game.
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

#include <algorithm>
#include <cmath>
#include <utility>
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
    explicit Field(bool careful) : careful_(careful) {
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
        connect(&frame_, &QTimer::timeout, this, [this] {
            if (careful_)
                repaintChanged();
            else
                update();
        });
        connect(&move_, &QTimer::timeout, this, [this] {
            if (trace::On()) trace::TimerTick(&move_);
            for (Sprite& s : sprites_) {
                if (careful_) dirty_.push_back(s.rect());
                s.at.ry() += 2;
                if (s.at.y() > height()) s.at.ry() = 0;
                if (careful_) dirty_.push_back(s.rect());
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
        dirty_.clear();
        changedStars_.clear();
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
        updateBeam();
    }

    void mouseReleaseEvent(QMouseEvent*) override {
        beam_ = false;
        updateBeam();
    }

private:
    struct Sprite {
        QPixmap pixmap;
        QPointF at;
        QRect rect() const { return QRectF(at, pixmap.deviceIndependentSize()).toAlignedRect(); }
    };

    void updateBeam() {
        if (careful_)
            update(QRectF(beamFrom_, beamTo_).normalized().toAlignedRect().adjusted(-1, -1, 1, 1));
        else
            update();
    }

    // One region for all that changed since the last frame: a region made of
    // many rectangles at once, the stars' sorted into rows, costs a fraction
    // of as many calls of update(), each of which would merge one into it.
    void repaintChanged() {
        std::sort(changedStars_.begin(), changedStars_.end(),
                  [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
        std::vector<QRect> rows;
        for (const QPoint& p : changedStars_) {
            if (!rows.empty() && rows.back().top() == p.y() && rows.back().right() + 1 >= p.x())
                rows.back().setRight(std::max(rows.back().right(), p.x()));
            else
                rows.emplace_back(p, QSize(1, 1));
        }
        QRegion stars, sprites;
        stars.setRects(rows.data(), static_cast<int>(rows.size()));
        for (const QRect& r : dirty_) sprites += r;
        if (const QRegion changed = stars.united(sprites); !changed.isEmpty()) update(changed);
        dirty_.clear();
        changedStars_.clear();
    }

    // A clean image of the window's size in device pixels with 1000 white
    // points of one logical pixel each.
    void drawStars() {
        const qreal dpr = devicePixelRatioF();
        const QSize want(static_cast<int>(std::ceil(width() * dpr)), static_cast<int>(std::ceil(height() * dpr)));
        const bool fresh = image_.size() != want;
        if (fresh) {
            image_ = QImage(want, QImage::Format_RGB32);
            image_.setDevicePixelRatio(dpr);
        }
        const int n = static_cast<int>(std::lround(dpr));
        // The careful way puts out only the stars of the last time, and
        // repaints them and the new ones (a new image is painted whole).
        if (careful_ && !fresh) {
            for (const QPoint& star : lit_) setStar(star, n, 0xFF000000);
        } else {
            image_.fill(Qt::black);
        }
        QRandomGenerator& random = *QRandomGenerator::global();
        const std::vector<QPoint> old = std::exchange(lit_, {});
        for (int i = 0; i < kStars; ++i) {
            lit_.emplace_back(random.bounded(std::max(1, want.width() / n - 1)) * n,
                              random.bounded(std::max(1, want.height() / n - 1)) * n);
            setStar(lit_.back(), n, 0xFFFFFFFF);
        }
        if (!careful_) return;
        for (const std::vector<QPoint>* stars : {&old, &std::as_const(lit_)})
            for (const QPoint& star : *stars) changedStars_.push_back(star / n);
    }

    void setStar(QPoint at, int n, QRgb rgb) {
        for (int y = at.y(); y < at.y() + n; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
            for (int x = at.x(); x < at.x() + n; ++x) line[x] = rgb;
        }
    }

    bool careful_;
    std::vector<Sprite> sprites_;
    std::vector<QPoint> lit_;  // in device pixels
    // What changed since the last frame, the careful way: sprites' places,
    // and stars in logical pixels.
    std::vector<QRect> dirty_;
    std::vector<QPoint> changedStars_;
    std::vector<QString> names_;
    QImage image_;
    QTimer frame_, move_, stars_;
    bool beam_ = false;
    QPointF beamFrom_, beamTo_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Field field(QCoreApplication::arguments().contains(QStringLiteral("--careful")));
    if (const QScreen* s = QGuiApplication::primaryScreen()) field.setGeometry(s->geometry());
    field.show();
    field.start();
    return QApplication::exec();
}
