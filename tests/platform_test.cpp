// The Qt side of the platform: the point surface, text that sizes a label, a
// window's icon, and repaints of what changed.

#include <gtest/gtest.h>

#include <QBackingStore>
#include <QDeadlineTimer>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QScreen>

#include <functional>
#include <vector>

#include "TestSupport.h"

#include "platform/core/Application.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/Surface.h"

namespace {

using namespace platform;

// A form with a control of each kind that changes in play.
class PaintForm final : public Form {
public:
    PaintForm() : Form("paintForm") {}
    Label lbl{*this};
    Image img{*this};
    Line lin{*this};
    Frame fra{*this};
    CommandButton cmd{*this, &fra};
    OptionButton opt1{*this, &fra};
    OptionButton opt2{*this, &fra};

protected:
    void InitializeComponent() override {
        Design design;
        design.clientWidth = 6000;
        design.clientHeight = 4500;
        design.icon = "icon";
        setDesign(design);
        BackColor = colors::Black;
        lbl.Move(150, 150, 1500, 300);
        lbl.Caption = "before";
        lbl.ForeColor = colors::White;
        img.Move(2400, 300, 0, 0);
        img.Picture = LoadPicture("blast00");
        lin.X1 = 300;
        lin.X2 = 1800;
        lin.Y1 = lin.Y2 = 1500;
        lin.BorderColor = colors::Red;
        fra.Move(2700, 1500, 3000, 2400);
        fra.Caption = "Frame";
        fra.ForeColor = colors::Yellow;
        cmd.Move(300, 450, 1200, 450);
        cmd.Caption = "Button";
        opt1.Move(300, 1200, 1200, 450);
        opt2.Move(1500, 1200, 1200, 450);
        opt1.Value = true;
    }
};

struct QtPlatform : ::testing::Test {
    kelvo::test::GameHarness h;
    PaintForm f;
    QtPlatform() { f.Show(); }
};

TEST_F(QtPlatform, PointsLieBeneathTheControlsUntilClsAndOffTheAreaAreDropped) {
    f.lbl.Transparent = true;
    f.lbl.Caption = "";
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

// The main window loads before the briefing and shows after it: its menus are
// not measured before it is seen, and yet its client area, read at load, is
// the one it shows with its menu bar.
class MenuForm final : public Form {
public:
    MenuForm() : Form("menuForm") {}
    MenuItem mnuGame{"&Game"};
    MenuItem mnuExit{"&Exit"};
    bool barAtLoad = true;
    float heightAtLoad = 0;

protected:
    void InitializeComponent() override {
        Design design;
        design.fullScreen = true;
        setDesign(design);
        mnuGame.setItems({&mnuExit});
        setMenus({&mnuGame});
    }
    void Form_Load() override {
        barAtLoad = platform::testing::Harness::windowOf(*this)->findChild<QMenuBar*>() != nullptr;
        heightAtLoad = ScaleHeight();
    }
};

TEST(QtMenus, AWindowMeasuresItsMenusOnlyWhenItsClientAreaIsReadOrItShows) {
    kelvo::test::GameHarness h;
    MenuForm f;
    f.Show();
    h.processEvents();
    EXPECT_FALSE(f.barAtLoad);
    const QWidget* surface = platform::testing::Harness::windowOf(f)->surface();
    EXPECT_GT(surface->y(), 0) << "the bar lies above the client area";
    EXPECT_EQ(f.heightAtLoad, f.ScaleHeight());
    EXPECT_EQ(f.ScaleHeight(), PixelsToTwips(surface->height()));
}

// The forms name fonts of another system; each is drawn in the first of the
// game's substitutes that is installed.
TEST(QtFonts, AFormsFontIsDrawnInItsFirstInstalledSubstitute) {
    kelvo::test::GameHarness h;
    EXPECT_EQ(QFontInfo(qt::ToQFont(Font{})).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(qt::ToQFont(Font{"Westminster", 8.25f, false, 800})).family(), "OCRA");
}

// What the window shows after each repaint of what changed must be what a
// paint of the whole form shows: a change the window is not told of leaves
// the old look on screen. (The offscreen screen keeps what each window last
// painted.)
struct Change {
    const char* name;
    std::vector<std::function<void(PaintForm&, kelvo::test::GameHarness&)>> steps;
};

struct QtRepaint : ::testing::TestWithParam<Change> {};

TEST_P(QtRepaint, TheWindowShowsWhatAWholeRepaintWouldAfterEachChange) {
    kelvo::test::GameHarness h;
    PaintForm f;
    f.Show();
    const qt::FormWindow* w = platform::testing::Harness::windowOf(f);
    for (std::size_t step = 0; step <= GetParam().steps.size(); ++step) {
        if (step > 0) GetParam().steps[step - 1](f, h);
        const QDeadlineTimer deadline(5000);
        while (w->surface()->repaintPending() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        h.processEvents();  // the paint the last repaint asked for
        const QImage shown = w->screen()->grabWindow(w->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        QImage whole(w->surface()->size(), QImage::Format_RGB32);
        w->surface()->render(&whole);
        EXPECT_TRUE(shown.copy(w->surface()->geometry()) == whole) << "after step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachChange, QtRepaint,
    ::testing::Values(Change{"Caption", {[](PaintForm& f, auto&) { f.lbl.Caption = "after"; }}},
                      Change{"Colour", {[](PaintForm& f, auto&) { f.lbl.ForeColor = colors::Green; }}},
                      Change{"Picture", {[](PaintForm& f, auto&) { f.img.Picture = LoadPicture("blast08"); }}},
                      Change{"Visibility", {[](PaintForm& f, auto&) { f.img.Visible = false; }}},
                      Change{"Position", {[](PaintForm& f, auto&) { f.lbl.Left = 450; }}},
                      Change{"LineEnd", {[](PaintForm& f, auto&) { f.lin.X2 = 900, f.lin.Y2 = 2700; }}},
                      Change{"Pressed",
                             {[](PaintForm& f, auto& h) { h.press(f, 3600, 2200); },
                              [](PaintForm& f, auto& h) { h.release(f, 3600, 2200); }}},
                      Change{"Option", {[](PaintForm& f, auto&) { f.opt2.Value = true; }}},
                      Change{"InAMovedFrame",
                             {[](PaintForm& f, auto&) { f.fra.Left = 1200; },
                              [](PaintForm& f, auto&) { f.cmd.Visible = false; }}}),
    [](const ::testing::TestParamInfo<Change>& change) { return change.param.name; });

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
