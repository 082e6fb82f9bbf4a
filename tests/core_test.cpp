// The platform's rules without any toolkit: activation, modal nesting, the end
// of the program, input routing, drawing order and timers, on plain fakes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Form.h"
#include "platform/core/ManualClock.h"
#include "platform/core/Services.h"
#include "platform/core/WindowHost.h"

namespace {

using namespace platform;

// The platform's windows and event loop as plain fakes. Posted tasks wait
// until drained, as events wait for the running one to end; each round of a
// modal loop, and the program's own loop, run the test's script.

// A framed window at (300, 200): 120 twips of borders across, 400 of title and menu down.
class FakeWindow final : public WindowHost {
public:
    explicit FakeWindow(Form& f) : form_(f) {}
    void show(bool) override { visible_ = true; }
    void hide() override { visible_ = false; }
    bool isVisible() const override { return visible_; }
    void raise() override {}
    float left() const override { return 300; }
    float top() const override { return 200; }
    float outerWidth() const override { return clientWidth() + 120; }
    float outerHeight() const override { return clientHeight() + 400; }
    void setOuterWidth(float) override {}
    void setOuterHeight(float) override {}
    float clientWidth() const override { return form_.design().clientWidth; }
    float clientHeight() const override { return form_.design().clientHeight; }
    void clear(Color) override {}
    void plot(float, float, Color, int) override {}
    Color pointAt(float, float) const override { return 0; }
    void requestRepaint() override {}
    void controlChanged(Control&) override {}
    void menusChanged() override {}
    void titleChanged() override {}
    void applyDesign() override {}

private:
    Form& form_;
    bool visible_ = false;
};

struct FakeWindows : WindowSystem {
    std::unique_ptr<WindowHost> createWindow(Form& form) override { return std::make_unique<FakeWindow>(form); }
    void disposeWindow(std::unique_ptr<WindowHost>) override {}
    float screenWidth() const override { return 12000; }
    float screenHeight() const override { return 9000; }
};

struct FakeLoop : EventLoop {
    std::deque<std::function<void()>> posted;
    std::function<void(Form&)> modalScript;  // one round, with the form loaded and shown
    std::function<void()> whileRunning;      // what happens inside the program's loop
    bool quitCalled = false;

    void drain() {
        while (!posted.empty()) {
            auto task = std::move(posted.front());
            posted.pop_front();
            task();
        }
    }
    void post(std::function<void()> task) override { posted.push_back(std::move(task)); }
    bool runModal(Form& form) override {
        drain();
        if (form.IsLoaded() && form.Visible()) modalScript(form);
        drain();
        return true;
    }
    void endModal(Form&) override {}
    void processEvents() override { drain(); }
    int exec() override {
        drain();
        if (whileRunning) whileRunning();
        return 0;
    }
    void quit() override { quitCalled = true; }
};

class TestForm final : public Form {
public:
    explicit TestForm(std::vector<std::string>& log, std::string name = "f") : Form(std::move(name)), log_(log) {
        lbl.MouseDown = [this](std::int16_t, std::int16_t, float x, float y) {
            log_.push_back("label down " + std::to_string(int(x)) + "," + std::to_string(int(y)));
        };
        lbl.Click = [this] { say("label click"); };
        btn.Click = [this] { say("btn click"); };
        ok.Click = [this] { say("ok click"); };
        opt1.Click = [this] { say("opt1 click"); };
        opt2.Click = [this] { say("opt2 click"); };
    }

    Label lbl{*this};
    Image img{*this};
    Frame fra{*this};
    CommandButton btn{*this, &fra};
    OptionButton opt1{*this, &fra};
    OptionButton opt2{*this, &fra};
    OptionButton loneOpt{*this};
    CommandButton ok{*this};

    std::function<void()> onLoad;
    void Form_Load() override {
        if (onLoad) onLoad();
    }
    void Form_Activate() override { say("activate"); }
    void Form_Click() override { say("form click"); }
    void Form_MouseDown(std::int16_t, std::int16_t, float x, float y) override {
        say("form down " + std::to_string(int(x)) + "," + std::to_string(int(y)));
    }
    void Form_MouseUp(std::int16_t, std::int16_t, float, float) override { say("form up"); }
    void Form_KeyDown(std::int16_t& key, std::int16_t) override { say("key " + std::to_string(key)); }

protected:
    void InitializeComponent() override {
        Design design;
        design.clientWidth = 6000;
        design.clientHeight = 4500;
        setDesign(design);
        lbl.Move(150, 150, 1500, 300);
        img.Move(3000, 150, 900, 510);  // no picture: presses pass through
        fra.Move(1500, 3000, 3000, 1200);
        btn.Move(150, 300, 900, 450);
        btn.Caption = "&Go";
        btn.TabIndex = 2;
        opt1.Move(1200, 300, 600, 450);
        opt2.Move(1950, 300, 600, 450);
        loneOpt.Move(4500, 150, 600, 450);
        ok.Move(4500, 1500, 900, 450);
        ok.TabIndex = 1;
    }

private:
    void say(std::string what) { log_.push_back(name() + " " + what); }
    std::vector<std::string>& log_;
};

class Core : public ::testing::Test {
protected:
    Core() {
        Services services;
        services.timers = &clock;
        services.windows = &windows;
        services.events = &loop;
        InstallServices(services);
    }
    ~Core() override {
        loop.drain();  // nothing left waiting for the next test
        InstallServices({});
    }

    ManualClock clock;
    FakeWindows windows;
    FakeLoop loop;
    std::vector<std::string> log;
    TestForm a{log, "a"}, b{log, "b"};
};

// --- Activation ----------------------------------------------------------------

TEST_F(Core, ActivationWaitsForTheRunningEventAndGoesToTheLastFormShown) {
    a.Show();
    b.Show();
    EXPECT_TRUE(log.empty()) << "nothing is activated inside the event that shows the forms";
    loop.drain();
    EXPECT_EQ(log, std::vector<std::string>{"b activate"});
    EXPECT_EQ(ActiveForm(), &b);
}

TEST_F(Core, ShowActivatesTheActiveFormAgainButAClickIntoItDoesNot) {
    a.Show();
    loop.drain();
    a.activatedByUser();
    loop.drain();
    EXPECT_EQ(log, std::vector<std::string>{"a activate"});
    a.Show();
    loop.drain();
    EXPECT_EQ(log, (std::vector<std::string>{"a activate", "a activate"}));
}

TEST_F(Core, AClickIntoAFormBehindAModalOneActivatesNothing) {
    a.Show();
    loop.drain();
    log.clear();
    loop.modalScript = [&](Form&) {
        a.activatedByUser();
        loop.drain();
        EXPECT_EQ(ActiveForm(), &b);
        b.Unload();
    };
    b.Show(vbModal);
    loop.drain();
    EXPECT_EQ(log, (std::vector<std::string>{"b activate", "a activate"}));
}

TEST_F(Core, TheProgramEndsWhenNoFormIsLeftLoaded) {
    loop.whileRunning = [&] {
        b.Unload();
        loop.drain();
        EXPECT_FALSE(loop.quitCalled);
        a.Unload();
        loop.drain();
        EXPECT_TRUE(loop.quitCalled);
    };
    RunProgram([&] {
        a.Show();
        b.Show();
    });
    EXPECT_TRUE(loop.quitCalled);
}

TEST_F(Core, EndingTheSessionUnloadsEveryFormAlsoOneStillInItsLoad) {
    a.onLoad = [&] { b.Show(vbModal); };  // as the main window's load shows the briefing
    loop.modalScript = [](Form&) { EndProgram(); };
    a.Show();
    EXPECT_FALSE(a.IsLoaded() || b.IsLoaded());
    // The procedures that were waiting go on to their end, but bring nothing
    // back: no form loads and no box asks (this fake has no dialogs at all).
    b.Show();
    EXPECT_EQ(InputBox("Name?", "High Score", "Space Ace"), "");
    EXPECT_FALSE(b.IsLoaded());
}

// --- Input ----------------------------------------------------------------------

TEST_F(Core, AReleaseAwayFromThePressedControlDoesNotClick) {
    a.Show();
    a.mouseDown(1, 0, 1500 + 300, 3000 + 450);  // the button in the frame
    EXPECT_EQ(a.pressedControl(), &a.btn);
    a.mouseUp(1, 0, 5800, 100);
    EXPECT_EQ(a.pressedControl(), nullptr);
    a.mouseDown(1, 0, 5800, 100);  // the form's background, released on the button
    a.mouseUp(1, 0, 1500 + 300, 3000 + 450);
    EXPECT_EQ(log, (std::vector<std::string>{"a form down 5800,100", "a form up"}));
}

TEST_F(Core, AHiddenFrameTakesItsControlsAwayFromMouseAndKeys) {
    a.Show();
    a.fra.Visible = false;
    a.mouseDown(1, 0, 1800, 3450);
    a.mouseUp(1, 0, 1800, 3450);
    a.keyDown('G', 4, false);
    EXPECT_EQ(log, (std::vector<std::string>{"a form down 1800,3450", "a form up", "a form click", "a key 71"}));
}

TEST_F(Core, ReturnPressesTheDefaultButtonAndAltALetterItsButton) {
    a.Show();
    EXPECT_TRUE(a.keyDown(keys::Return, 0, false));
    EXPECT_TRUE(a.keyDown(keys::Return, 0, true));  // a held key repeats as a key, not as a press
    EXPECT_TRUE(a.keyDown('G', 4, false));
    EXPECT_TRUE(a.keyDown(keys::Left, 0, false));
    EXPECT_FALSE(a.keyDown(0, 0, false));
    EXPECT_EQ(log, (std::vector<std::string>{"a ok click", "a key 13", "a btn click", "a key 37"}));
}

TEST_F(Core, OptionButtonsOfOneContainerFormAGroupAndSelectingRaisesClick) {
    a.Show();
    a.loneOpt.Value = true;
    a.opt1.Value = true;
    a.mouseDown(1, 0, 1500 + 2100, 3000 + 450);  // opt2, by the mouse
    a.mouseUp(1, 0, 1500 + 2100, 3000 + 450);
    EXPECT_FALSE(a.opt1.Value);
    EXPECT_TRUE(a.opt2.Value);
    EXPECT_TRUE(a.loneOpt.Value) << "another container, another group";
    EXPECT_EQ(log, (std::vector<std::string>{"a opt1 click", "a opt2 click"}));
}

// A word-wrapping label that sizes itself fits its height to its text at its
// width: measured again for a new width, never for a move (the story moves
// every 10 ms). Here every line is 100 twips, one character to 100 twips.
TEST_F(Core, ASelfSizingWrappedLabelFitsItsHeightToANewWidthButIsNotMeasuredForAMove) {
    struct CountingText final : TextMeasurer {
        int measured = 0;
        TextSize measure(const Font&, const std::string& text, float wrap) override {
            ++measured;
            return {wrap, 100.0f * std::ceil(static_cast<float>(text.size()) / std::max(1.0f, wrap / 100.0f))};
        }
    } text;
    Services services = CurrentServices();
    services.text = &text;
    InstallServices(services);
    a.Show();
    a.lbl.WordWrap = true;
    a.lbl.AutoSize = true;
    a.lbl.Caption = std::string(40, 'x');  // 15 to a line of 1500 twips
    EXPECT_FLOAT_EQ(a.lbl.Height, 300);
    text.measured = 0;
    a.lbl.Top = a.lbl.Top - 20;
    EXPECT_EQ(text.measured, 0);
    a.lbl.Width = 1000;
    a.lbl.Height = 50;
    EXPECT_FLOAT_EQ(a.lbl.Height, 400) << "the text decides the height";
}

// --- Drawing order ----------------------------------------------------------------

TEST_F(Core, ControlsAreDrawnBottomFirstWithFramesAndTheirControlsLast) {
    struct Recorder final : ControlPainter {
        std::vector<std::string> seen;
        void visit(Label&) override { seen.push_back("label"); }
        void visit(Image&) override { seen.push_back("image"); }
        void visit(Frame&) override { seen.push_back("frame"); }
        void visit(CommandButton&) override { seen.push_back("button"); }
        void visit(OptionButton&) override { seen.push_back("option"); }
        void enterFrame(const Frame&) override { seen.push_back("("); }
        void leaveFrame() override { seen.push_back(")"); }
    } recorder;
    a.Show();
    a.opt2.Visible = false;
    a.paint(recorder);
    EXPECT_EQ(recorder.seen,
              (std::vector<std::string>{"label", "image", "option", "button", "frame", "(", "button", "option", ")"}));
}

// --- Timers -------------------------------------------------------------------------

TEST_F(Core, TimersTickInTimeOrderAndAWriteRestartsThePeriod) {
    std::vector<std::string> order;
    Timer slow, fast, victim;
    slow.Tick = [&] { order.push_back("slow"); };
    fast.Tick = [&] {
        order.push_back("fast");
        victim.Interval = 0;  // a stopped timer misses its turn
    };
    victim.Tick = [&] { order.push_back("victim"); };
    slow.Interval = 30;
    fast.Interval = 20;
    victim.Interval = 40;
    clock.advance(35);
    slow.Interval = 30;  // the same value restarts the period
    clock.advance(30);
    EXPECT_EQ(order, (std::vector<std::string>{"fast", "slow", "fast", "fast", "slow"}));
}

}  // namespace
