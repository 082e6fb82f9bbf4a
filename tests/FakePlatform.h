#pragma once
// The platform's windows and event loop as plain fakes, without any toolkit.
// Posted tasks wait until drained, as events wait for the running one to end;
// each round of a modal loop, and the program's own loop, run the test's script.

#include <deque>
#include <functional>
#include <memory>

#include "platform/core/Form.h"
#include "platform/core/Services.h"
#include "platform/core/WindowHost.h"

namespace kelvo::test {

// A framed window at (300, 200): 120 twips of borders across, 400 of title and menu down.
class FakeWindow final : public platform::WindowHost {
public:
    explicit FakeWindow(platform::Form& f) : form_(f) {}
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
    void clear(platform::Color) override {}
    void plot(float, float, platform::Color, int) override {}
    platform::Color pointAt(float, float) const override { return 0; }
    void requestRepaint() override {}
    void controlChanged(platform::Control&) override {}
    void menusChanged() override {}
    void titleChanged() override {}
    void applyDesign() override {}

private:
    platform::Form& form_;
    bool visible_ = false;
};

struct FakeWindows : platform::WindowSystem {
    std::unique_ptr<platform::WindowHost> createWindow(platform::Form& form) override {
        return std::make_unique<FakeWindow>(form);
    }
    void disposeWindow(std::unique_ptr<platform::WindowHost>) override {}
    float screenWidth() const override { return 12000; }
    float screenHeight() const override { return 9000; }
};

struct FakeLoop : platform::EventLoop {
    std::deque<std::function<void()>> posted;
    std::function<void(platform::Form&)> modalScript;  // one round, with the form loaded and shown
    std::function<void()> whileRunning;                // what happens inside the program's loop
    bool quitCalled = false;

    void drain() {
        while (!posted.empty()) {
            auto task = std::move(posted.front());
            posted.pop_front();
            task();
        }
    }
    void post(std::function<void()> task) override { posted.push_back(std::move(task)); }
    bool runModal(platform::Form& form) override {
        drain();
        if (form.IsLoaded() && form.Visible()) modalScript(form);
        drain();
        return true;
    }
    void endModal(platform::Form&) override {}
    void processEvents() override { drain(); }
    int exec() override {
        drain();
        if (whileRunning) whileRunning();
        return 0;
    }
    void quit() override { quitCalled = true; }
};

}  // namespace kelvo::test
