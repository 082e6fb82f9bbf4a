#include "platform/core/Recorder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/core/Form.h"
#include "platform/core/Replay.h"
#include "platform/core/WindowHost.h"

namespace platform {

using replay::Rec;

namespace {

constexpr std::uint64_t kEventsBetweenCheckpoints = 1000;
constexpr std::int64_t kFlushEveryMs = 1000;

// The player's own events, each followed by a short check of the state.
bool ByPlayer(Input::Kind kind) { return kind != Input::Tick && kind != Input::SessionEnd; }

std::string GameTime(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60));
    return text;
}

}  // namespace

// A window as the game sees it while recording: its place and size are the
// ones last written down, so that a replay can give the game the same.
class Recorder::Host final : public WindowHost {
public:
    Host(Recorder& r, Form& form, std::unique_ptr<WindowHost> inner)
        : r_(r), index_(names::FormIndex(form)), inner_(std::move(inner)) {}
    std::unique_ptr<WindowHost> release() { return std::move(inner_); }
    int index() const { return index_; }

    // Reads the real window: true when it differs from what the game was told.
    bool changed() {
        const float now[6] = {inner_->left(),        inner_->top(),         inner_->outerWidth(),
                              inner_->outerHeight(), inner_->clientWidth(), inner_->clientHeight()};
        if (std::memcmp(now, told_, sizeof now) == 0) return false;
        std::memcpy(told_, now, sizeof now);
        return true;
    }
    const float* told() const { return told_; }

    void show(bool modal) override {
        inner_->show(modal);
        visible_ = true;
        r_.refresh(this);
    }
    void hide() override {
        inner_->hide();
        visible_ = false;
        r_.refresh(this);
    }
    bool isVisible() const override { return visible_; }
    void raise() override {
        inner_->raise();
        r_.refresh(this);
    }
    float left() const override { return told_[0]; }
    float top() const override { return told_[1]; }
    float outerWidth() const override { return told_[2]; }
    float outerHeight() const override { return told_[3]; }
    void setOuterWidth(float twips) override {
        inner_->setOuterWidth(twips);
        r_.refresh(this);
    }
    void setOuterHeight(float twips) override {
        inner_->setOuterHeight(twips);
        r_.refresh(this);
    }
    float clientWidth() const override { return told_[4]; }
    float clientHeight() const override { return told_[5]; }
    void clear(Color back) override { inner_->clear(back); }
    void plot(float x, float y, Color color, int widthPx) override { inner_->plot(x, y, color, widthPx); }
    Color pointAt(float x, float y) const override { return inner_->pointAt(x, y); }
    void controlChanged(Control& c) override { inner_->controlChanged(c); }
    void requestRepaint() override { inner_->requestRepaint(); }
    void menusChanged() override {
        inner_->menusChanged();
        r_.refresh(this);
    }
    void titleChanged() override { inner_->titleChanged(); }
    void applyDesign() override {
        inner_->applyDesign();
        r_.refresh(this);
    }

private:
    Recorder& r_;
    int index_;
    std::unique_ptr<WindowHost> inner_;
    float told_[6] = {NAN, NAN, NAN, NAN, NAN, NAN};
    bool visible_ = false;
};

class Recorder::Windows final : public WindowSystem {
public:
    explicit Windows(Recorder& r) : r_(r) {}
    std::unique_ptr<WindowHost> createWindow(Form& form) override {
        auto host = std::make_unique<Host>(r_, form, r_.real_.windows->createWindow(form));
        auto& hosts = r_.hosts_;
        hosts.insert(std::upper_bound(hosts.begin(), hosts.end(), host.get(),
                                      [](const Host* a, const Host* b) { return a->index() < b->index(); }),
                     host.get());
        r_.refresh(host.get());
        return host;
    }
    void disposeWindow(std::unique_ptr<WindowHost> window) override {
        // Every window the game has came from createWindow above.
        auto* host = static_cast<Host*>(window.get());
        std::erase(r_.hosts_, host);
        r_.real_.windows->disposeWindow(host->release());
    }
    float screenWidth() const override { return r_.real_.windows->screenWidth(); }
    float screenHeight() const override { return r_.real_.windows->screenHeight(); }

private:
    Recorder& r_;
};

// The loops: when a modal form's loop or a pass over the events returns, and
// when an activation update runs, is part of the order the game sees.
class Recorder::Events final : public EventLoop {
public:
    explicit Events(Recorder& r) : r_(r) {}
    void post(std::function<void()> task) override {
        r_.real_.events->post([this, alive = r_.alive_, task = std::move(task)] {
            if (*alive) r_.boundary(Rec::Update);
            task();
        });
    }
    bool runModal(Form& form) override {
        const bool result = r_.real_.events->runModal(form);
        r_.boundary(Rec::ModalEnd);
        if (r_.recording()) r_.file_.u8(result ? 1 : 0);
        return result;
    }
    void endModal(Form& form) override { r_.real_.events->endModal(form); }
    void processEvents() override {
        r_.real_.events->processEvents();
        r_.boundary(Rec::EventsDone);
    }
    int exec() override { return r_.real_.events->exec(); }
    void quit() override { r_.real_.events->quit(); }

private:
    Recorder& r_;
};

// The answers that depend on the machine, each written down the first time
// it is asked for (texts and pictures) or every time (dialogs, the clock).
class Recorder::Answers final : public TextMeasurer, public PictureLoader, public DialogService, public SystemClock {
public:
    explicit Answers(Recorder& r) : r_(r) {}
    TextSize measure(const Font& font, const std::string& text, float wrapWidth) override {
        auto key = std::make_tuple(font.Name, font.Size, font.Bold, font.Weight, text, wrapWidth);
        if (auto it = texts_.find(key); it != texts_.end()) return it->second;
        const TextSize size = r_.real_.text->measure(font, text, wrapWidth);
        if (r_.recording()) {
            r_.file_.put(Rec::Text);
            r_.file_.f32(size.width);
            r_.file_.f32(size.height);
        }
        return texts_[std::move(key)] = size;
    }
    Picture load(std::string_view name) override {
        const std::string key(name);
        if (auto it = pictures_.find(key); it != pictures_.end()) return it->second;
        const Picture p = r_.real_.pictures->load(name);
        if (r_.recording()) {
            r_.file_.put(Rec::Picture);
            r_.file_.u8(p.empty() ? 0 : 1);
            r_.file_.varint(static_cast<std::uint64_t>(std::max(0, p.widthPx)));
            r_.file_.varint(static_cast<std::uint64_t>(std::max(0, p.heightPx)));
        }
        return pictures_[key] = p;
    }
    void msgBoxInformation(const std::string& text, const std::string& title) override {
        r_.real_.dialogs->msgBoxInformation(text, title);
        r_.boundary(Rec::MsgBoxClosed);
    }
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& def) override {
        std::string answer = r_.real_.dialogs->inputBox(prompt, title, def);
        if (answer.size() > replay::kLongestAnswer) answer.resize(replay::kLongestAnswer);  // as a replay reads it
        r_.boundary(Rec::InputAnswer);
        if (r_.recording()) r_.file_.text(answer);
        return answer;
    }
    double secondsSinceMidnight() override {
        const auto reading = static_cast<float>(r_.real_.clock->secondsSinceMidnight());
        if (r_.recording()) {
            r_.file_.put(Rec::TimeOfDay);
            r_.file_.f32(reading);
        }
        return reading;
    }
    std::uint64_t startSeed() override {
        const std::uint64_t seed = r_.real_.clock->startSeed();
        if (r_.recording()) {
            r_.file_.put(Rec::Seed);
            r_.file_.u64(seed);
        }
        return seed;
    }
    std::int64_t elapsedMs() override { return r_.real_.clock->elapsedMs(); }

private:
    Recorder& r_;
    std::map<std::tuple<std::string, float, bool, int, std::string, float>, TextSize> texts_;
    std::map<std::string, Picture> pictures_;
};

Recorder::Recorder() = default;

Recorder::~Recorder() { *alive_ = false; }

bool Recorder::create(const std::string& path) {
    path_ = path;
    return file_.create(path);
}

Services Recorder::begin(const replay::Header& header, const Services& real) {
    real_ = real;
    windows_ = std::make_unique<Windows>(*this);
    events_ = std::make_unique<Events>(*this);
    answers_ = std::make_unique<Answers>(*this);
    file_.header(header);
    started_ = true;
    lastFlushMs_ = real_.clock->elapsedMs();
    Services s = real;
    s.windows = windows_.get();
    s.events = events_.get();
    s.text = answers_.get();
    s.pictures = answers_.get();
    s.dialogs = answers_.get();
    s.clock = answers_.get();
    return s;
}

void Recorder::refresh(Host* only) {
    if (!recording()) return;
    auto note = [this](Host* h) {
        if (!h->changed()) return;
        file_.put(Rec::Geometry);
        file_.u8(static_cast<std::uint8_t>(h->index()));
        file_.varint(std::exchange(unchangedPoints_, 0));
        for (int i = 0; i < 6; ++i) file_.f32(h->told()[i]);
    };
    if (only) {
        note(only);
    } else {
        for (Host* h : hosts_) note(h);
    }
    ++unchangedPoints_;
}

void Recorder::boundary(Rec kind) {
    if (!recording()) return;
    const std::int64_t now = real_.clock->elapsedMs();
    const std::int64_t steps = now / replay::kTimeStepMs;
    if (steps > timeSteps_) {
        file_.put(Rec::Time);
        file_.varint(static_cast<std::uint64_t>(steps - timeSteps_));
        timeSteps_ = steps;
    }
    refresh(nullptr);
    if (++sinceCheckpoint_ >= kEventsBetweenCheckpoints) writeCheckpoint(0);
    file_.put(kind);
    ++eventCount_;
    if (now - lastFlushMs_ >= kFlushEveryMs) flush(false);
}

void Recorder::writeCheckpoint(std::uint8_t why) {
    sinceCheckpoint_ = 0;
    file_.put(Rec::Checkpoint);
    file_.u8(why);
    file_.u64(StateChecksum());
    const GameFacts& facts = CurrentGameFacts();
    const auto numbers = facts.numbers ? facts.numbers() : decltype(facts.numbers()){};
    file_.u8(static_cast<std::uint8_t>(std::min<std::size_t>(numbers.size(), 8)));
    for (std::size_t i = 0; i < numbers.size() && i < 8; ++i) file_.zigzag(numbers[i].second);
}

void Recorder::flush(bool last) {
    if (!started_ || stopped_) return;
    lastFlushMs_ = real_.clock->elapsedMs();
    if (file_.flush(last)) return;
    // A full disk or a lost file ends the recording, never the game.
    stopped_ = true;
    std::fprintf(stderr, "kelvo: %s: recording stopped at %s of play: %s\n", path_.c_str(),
                 GameTime(lastFlushMs_).c_str(), file_.error().c_str());
}

void Recorder::flushIfDue() {
    if (recording() && real_.clock->elapsedMs() - lastFlushMs_ >= kFlushEveryMs) flush(false);
}

void Recorder::finish() {
    if (finished_ || !started_) return;
    boundary(Rec::Finished);
    flush(true);
    finished_ = true;
}

bool Recorder::admit(const Input& in) {
    if (!recording()) return true;
    int form = in.form ? names::FormIndex(*in.form) : -1;
    int timer = -1;
    if (in.kind == Input::Tick) {
        const Form* owner = names::TimerOwner(*in.timer);
        if (!owner) return true;  // not one of the game's
        form = names::FormIndex(*owner);
        timer = names::TimerIndex(*owner, *in.timer);
    }
    if (in.kind != Input::SessionEnd && form < 0) return true;
    static constexpr Rec kKinds[] = {Rec::Tick,     Rec::MouseDown, Rec::MouseUp, Rec::Key,
                                     Rec::Activate, Rec::Close,     Rec::Menu,    Rec::SessionEnd};
    boundary(kKinds[in.kind]);
    if (in.kind == Input::SessionEnd) return true;
    file_.u8(static_cast<std::uint8_t>(form));
    switch (in.kind) {
    case Input::Tick: file_.u8(static_cast<std::uint8_t>(timer)); break;
    case Input::MouseDown:
    case Input::MouseUp:
        file_.u8(static_cast<std::uint8_t>(in.button));
        file_.u8(static_cast<std::uint8_t>(in.shift));
        file_.f32(in.x);
        file_.f32(in.y);
        break;
    case Input::Key:
        file_.zigzag(in.button);
        file_.u8(static_cast<std::uint8_t>(in.shift));
        file_.u8(in.autoRepeat ? 1 : 0);
        break;
    case Input::Menu: file_.varint(static_cast<std::uint64_t>(names::MenuIndex(*in.form, *in.item))); break;
    default: break;
    }
    return true;
}

void Recorder::handled(const Input& in) {
    if (!recording() || !ByPlayer(in.kind)) return;
    if (in.kind != Input::Tick && (!in.form || names::FormIndex(*in.form) < 0)) return;
    file_.put(Rec::Check);
    const std::uint64_t sum = StateChecksum();
    file_.u8(static_cast<std::uint8_t>(sum));
    file_.u8(static_cast<std::uint8_t>(sum >> 8));
}

void Recorder::checkpoint() {
    if (!recording()) return;
    writeCheckpoint(1);
    flush(false);
}

}  // namespace platform
