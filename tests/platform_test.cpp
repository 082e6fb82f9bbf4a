// The Qt side of the platform: the point surface, text that sizes a label, a
// window's icon, and repaints of what changed.

#include <gtest/gtest.h>

#include <QBackingStore>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include "TestSupport.h"

#include "platform/core/Application.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/Surface.h"

namespace {

using namespace platform;

class TestForm final : public Form {
public:
    TestForm() : Form("testForm") {}
    Label lbl{*this};

protected:
    void InitializeComponent() override {
        Design design;
        design.clientWidth = 6000;
        design.clientHeight = 4500;
        design.icon = "icon";
        setDesign(design);
        BackColor = colors::Black;
        lbl.Move(150, 150, 1500, 300);
    }
};

struct QtPlatform : ::testing::Test {
    kelvo::test::GameHarness h;
    TestForm f;
    QtPlatform() { f.Show(); }
};

TEST_F(QtPlatform, PointsLieBeneathTheControlsUntilClsAndOffTheAreaAreDropped) {
    f.lbl.Transparent = true;
    f.PSet(600, 300, colors::White);
    EXPECT_EQ(f.Point(600, 300), colors::White);
    EXPECT_EQ(h.pixel(f, 600, 300), colors::White) << "a transparent label lets the point show";
    EXPECT_EQ(f.Point(630, 300), colors::Black);
    f.PSet(6000, 100, colors::White);
    f.PSet(-15, -15, colors::White);
    EXPECT_EQ(f.Point(6000, 100), static_cast<Color>(-1));
    EXPECT_EQ(f.Point(5985, 90), colors::Black) << "the last column is untouched";
    f.Cls();
    EXPECT_EQ(f.Point(600, 300), colors::Black);
}

TEST_F(QtPlatform, AWordWrappingLabelThatSizesItselfKeepsItsWidthAndGrowsDown) {
    f.lbl.WordWrap = true;
    f.lbl.AutoSize = true;
    f.lbl.Caption = "one";
    const float oneLine = f.lbl.Height;
    EXPECT_GT(oneLine, 0);
    f.lbl.Caption = "a caption long enough to wrap over several lines of this narrow label";
    EXPECT_FLOAT_EQ(f.lbl.Width, 1500);
    EXPECT_GT(f.lbl.Height, 2 * oneLine);
}

// The window list and the task bar pick the icon's size they show from
// every size the game has of it.
TEST_F(QtPlatform, AShownFormsWindowCarriesEverySizeOfItsIcon) {
    QList<QSize> sizes;
    for (int size : kelvo::GameResources().iconSizes) sizes << QSize(size, size);
    EXPECT_EQ(platform::testing::Harness::windowOf(f)->windowIcon().availableSizes(), sizes);
}

// An unloaded form's window waits to be deleted until no event of it can be
// under way, which at New Game is after the whole briefing; meanwhile it must
// not hold a backing store the size of its window (of the screen, for the
// full-screen forms).
TEST_F(QtPlatform, AnUnloadedFormsWindowGivesBackItsBackingStoreAtOnce) {
    h.processEvents();
    const QPointer<QWidget> window = platform::testing::Harness::windowOf(f);
    ASSERT_TRUE(window && window->backingStore());
    ASSERT_EQ(window->backingStore()->size(), window->size()) << "painted once, the store has the window's size";
    f.Unload();
    ASSERT_TRUE(window) << "deleted only once back in the event loop";
    const QSize kept = window->backingStore()->size();
    EXPECT_LE(kept.width() * kept.height(), 1);
}

// A repaint covers only what changed since the one before; what the window
// shows must still be what a repaint of the whole would show. (The offscreen
// screen keeps what each window last painted; repaints are paced in real time.)
TEST(QtRepaint, RepaintingWhatChangedLeavesTheWindowAsAWholeRepaintWould) {
    kelvo::test::GameHarness h;
    kelvo::Program program;
    kelvo::FrmKelvo& k = kelvo::test::StartGame(h, program);
    k.tmrStars.Interval = 0;  // a new star field repaints everything
    const qt::FormWindow* w = platform::testing::Harness::windowOf(k);
    auto settle = [&] {
        for (int i = 0; i < 2; ++i) {
            QThread::msleep(20);
            h.processEvents();
        }
    };
    settle();
    for (int step = 1; step <= 60; ++step) {
        h.advance(10);
        if (step % 20 == 3) h.press(k, 4000.0f + 40.0f * static_cast<float>(step), 2000);
        if (step % 20 == 5) h.release(k, 4000.0f + 40.0f * static_cast<float>(step), 2000);
        settle();
        if (step % 6 != 0) continue;
        const QImage shown = w->screen()->grabWindow(w->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        QImage whole(w->surface()->size(), QImage::Format_RGB32);
        w->surface()->render(&whole);
        EXPECT_TRUE(shown.copy(w->surface()->geometry()) == whole) << "after " << step * 10 << " ms";
    }
}

// Two monitors, the primary one right of a larger one (the two_screens run):
// the game's screen is the primary one alone, and its windows lie on it.
TEST(QtScreens, TheGamePlaysOnThePrimaryScreenNotOnTheWholeDesktop) {
    if (qEnvironmentVariableIsEmpty("KELVO_TWO_SCREENS")) GTEST_SKIP() << "for the two_screens run";
    kelvo::test::GameHarness h;
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    ASSERT_GT(primary.x(), 0) << "Qt takes the screen whose name sorts first as the primary one";
    kelvo::Program program;
    kelvo::FrmKelvo& k = kelvo::test::StartGame(h, program);
    EXPECT_FLOAT_EQ(ScreenWidth(), 15.0f * static_cast<float>(primary.width()));
    EXPECT_FLOAT_EQ(ScreenHeight(), 15.0f * static_cast<float>(primary.height()));
    EXPECT_EQ(platform::testing::Harness::windowOf(k)->geometry(), primary);
    program.game().frmScoreK().Show();
    h.processEvents();
    const QRect table = platform::testing::Harness::windowOf(program.game().frmScoreK())->frameGeometry();
    EXPECT_TRUE(primary.contains(table)) << table.x() << "," << table.y();
    EXPECT_LE((table.center() - primary.center()).manhattanLength(), 2);
}

}  // namespace
