#include "platform/core/Replayer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/core/Application.h"
#include "platform/core/Form.h"
#include "platform/core/Replay.h"
#include "platform/core/WindowHost.h"

namespace platform {

using replay::Rec;

namespace {

constexpr std::uint64_t kLongestPause = 24 * 3600 * 1000 / replay::kTimeStepMs;  // a day, in steps
constexpr std::size_t kMostNumbers = 8;

bool Finite(float v, float low, float high) { return std::isfinite(v) && v >= low && v <= high; }

std::string GameTime(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%02lld", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms / 10 % 100));
    return text;
}

}  // namespace

// A window as the game sees it in a replay: the recorded place and size, and
// on screen the real window behind it.
class Replayer::Host final : public WindowHost {
public:
    Host(Replayer& r, int index, std::unique_ptr<WindowHost> inner) : r_(r), index_(index), inner_(std::move(inner)) {}
    std::unique_ptr<WindowHost> release() { return std::move(inner_); }
    int index() const { return index_; }
    float told[6] = {};

    void show(bool modal) override {
        if (inner_) inner_->show(modal);
        visible_ = true;
        r_.refresh();
    }
    void hide() override {
        if (inner_) inner_->hide();
        visible_ = false;
        r_.refresh();
    }
    bool isVisible() const override { return visible_; }
    void raise() override {
        if (inner_) inner_->raise();
        r_.refresh();
    }
    float left() const override { return told[0]; }
    float top() const override { return told[1]; }
    float outerWidth() const override { return told[2]; }
    float outerHeight() const override { return told[3]; }
    void setOuterWidth(float twips) override {
        if (inner_) inner_->setOuterWidth(twips);
        r_.refresh();
    }
    void setOuterHeight(float twips) override {
        if (inner_) inner_->setOuterHeight(twips);
        r_.refresh();
    }
    float clientWidth() const override { return told[4]; }
    float clientHeight() const override { return told[5]; }
    void clear(Color back) override {
        if (inner_) inner_->clear(back);
    }
    void plot(float x, float y, Color color, int widthPx) override {
        if (inner_) inner_->plot(x, y, color, widthPx);
    }
    Color pointAt(float x, float y) const override { return inner_ ? inner_->pointAt(x, y) : 0; }
    void controlChanged(Control& c) override {
        if (inner_) inner_->controlChanged(c);
    }
    void requestRepaint() override {
        if (inner_) inner_->requestRepaint();
    }
    void menusChanged() override {
        if (inner_) inner_->menusChanged();
        r_.refresh();
    }
    void titleChanged() override {
        if (inner_) inner_->titleChanged();
    }
    void applyDesign() override {
        if (inner_) inner_->applyDesign();
        r_.refresh();
    }

private:
    Replayer& r_;
    int index_;
    std::unique_ptr<WindowHost> inner_;
    bool visible_ = false;
};

Replayer::Replayer(replay::Reader& reader) : reader_(reader) {}
Replayer::~Replayer() = default;

Services Replayer::services(WindowSystem* screen, SoundService* sound) {
    screen_ = screen;
    Services s;
    s.timers = this;
    s.windows = this;
    s.events = this;
    s.text = this;
    s.pictures = this;
    s.dialogs = this;
    s.sound = sound;
    s.clock = this;
    return s;
}

// --- Where it stops ----------------------------------------------------------

std::string Replayer::where() const {
    return "event " + std::to_string(events_) + " (" + GameTime(timeMs_) +
           (lastEvent_.empty() ? std::string() : ", " + lastEvent_) + ")";
}

void Replayer::diverge(const std::string& what) {
    if (stopping_) return;
    stopping_ = true;
    outcome_ = Outcome::Diverged;
    message_ = "left the recording at " + where() + ": " + what;
}

void Replayer::bad(const std::string& what) {
    if (stopping_) return;
    stopping_ = true;
    outcome_ = Outcome::BadFile;
    message_ = what + (events_ ? " (event " + std::to_string(events_) + ")" : std::string());
}

// A read that came back empty: the file ended inside a record (cut off
// there), or it holds something that cannot be.
void Replayer::readFailed() {
    if (reader_.failed())
        bad(reader_.error());
    else
        cutOff_ = stopping_ = true;
}

void Replayer::endRun() {
    if (ended_) return;
    ended_ = true;
    stopping_ = true;
    if (!detail::programEnding()) EndProgram();
}

std::string Replayer::report() const {
    switch (outcome_) {
    case Outcome::Matches: {
        const GameFacts& facts = CurrentGameFacts();
        std::string line = facts.summary ? facts.summary() + ": " : std::string();
        if (cutOff_)
            return line + "matches up to event " + std::to_string(events_) + " (" + GameTime(timeMs_) +
                   "), where the recording was cut off";
        return line + "matches";
    }
    case Outcome::Diverged:
    case Outcome::BadFile: return message_;
    case Outcome::Ended: break;
    }
    return {};
}

// --- Reading the events ------------------------------------------------------

std::uint8_t Replayer::peekKind() { return moved_ ? static_cast<std::uint8_t>(Rec::Geometry) : reader_.peek(); }

bool Replayer::expect(Rec kind, const char* asked) {
    if (stopping_) return false;
    const std::uint8_t next = peekKind();
    if (next == static_cast<std::uint8_t>(kind)) {
        std::uint8_t k = 0;
        reader_.u8(k);
        return true;
    }
    if (next == 0 && !moved_ && reader_.atEnd()) {
        readFailed();
        return false;
    }
    diverge(std::string("the game ") + asked + " where the recording has " + replay::RecName(static_cast<Rec>(next)));
    return false;
}

void Replayer::refresh() {
    if (stopping_) return;
    for (;;) {
        if (!moved_) {
            if (reader_.peek() != static_cast<std::uint8_t>(Rec::Geometry)) break;
            std::uint8_t kind = 0, form = 0;
            Moved m;
            bool ok = reader_.u8(kind) && reader_.u8(form) && reader_.varint(m.skip);
            for (float& v : m.told) ok = ok && reader_.f32(v);
            if (!ok) {
                readFailed();
                return;
            }
            for (float v : m.told)
                if (!Finite(v, -replay::kFarthest, replay::kFarthest)) {
                    bad("has a window out of range at byte " + std::to_string(reader_.fileOffset()));
                    return;
                }
            m.form = form;
            moved_ = m;
        }
        if (moved_->skip != unchangedPoints_) break;
        const auto host = hosts_.find(moved_->form);
        if (host == hosts_.end()) {
            diverge("the recording has a window for form " + std::to_string(moved_->form) + ", which is not open");
            return;
        }
        std::memcpy(host->second->told, moved_->told, sizeof moved_->told);
        moved_.reset();
        unchangedPoints_ = 0;
    }
    ++unchangedPoints_;
}

void Replayer::beforeEvent() {
    if (peekKind() == static_cast<std::uint8_t>(Rec::Time)) {
        std::uint8_t kind = 0;
        std::uint64_t steps = 0;
        if (!reader_.u8(kind) || !reader_.varint(steps)) return;  // step() finds out why
        if (steps > kLongestPause)
            return bad("has a pause of " + std::to_string(steps / 100) + " s at byte " +
                       std::to_string(reader_.fileOffset()));
        timeMs_ += static_cast<std::int64_t>(steps) * replay::kTimeStepMs;
        if (pacer_) {
            const bool was = std::exchange(dispatching_, false);  // the player's input meanwhile is turned away
            const bool go = pacer_->waitUntil(timeMs_);
            dispatching_ = was;
            if (!go && !stopping_) {
                outcome_ = Outcome::Ended;
                stopping_ = true;
            }
            if (stopping_) return;
        }
    }
    refresh();
    if (!stopping_ && peekKind() == static_cast<std::uint8_t>(Rec::Checkpoint)) {
        std::uint8_t kind = 0;
        reader_.u8(kind);
        readCheckpoint(0);
    }
}

void Replayer::readCheckpoint(std::uint8_t expected) {
    std::uint8_t why = 0, count = 0;
    std::uint64_t sum = 0;
    std::int64_t numbers[kMostNumbers] = {};
    bool ok = reader_.u8(why) && reader_.u64(sum) && reader_.u8(count);
    if (ok && count > kMostNumbers)
        return bad("has a checkpoint of " + std::to_string(count) + " numbers at byte " +
                   std::to_string(reader_.fileOffset()));
    for (std::uint8_t i = 0; ok && i < count; ++i) ok = reader_.zigzag(numbers[i]);
    if (!ok) {
        readFailed();
        return;
    }
    if (why != expected)
        return diverge(why ? "the recording has a game over here" : "the game is over where the recording goes on");
    if (StateChecksum() == sum) return;
    std::string what = "the game's state differs from the recording's";
    const GameFacts& facts = CurrentGameFacts();
    const auto mine = facts.numbers ? facts.numbers() : decltype(facts.numbers()){};
    std::string diff;
    for (std::size_t i = 0; i < mine.size() && i < count; ++i)
        if (mine[i].second != numbers[i])
            diff += (diff.empty() ? "" : ", ") + mine[i].first + " " + std::to_string(mine[i].second) +
                    " where the recording has " + std::to_string(numbers[i]);
    diverge(diff.empty() ? what : what + " (" + diff + ")");
}

Form* Replayer::readForm() {
    std::uint8_t index = 0;
    if (!reader_.u8(index)) return nullptr;
    Form* form = names::FormAt(index);
    if (!form)
        bad("names form " + std::to_string(index) + " at byte " + std::to_string(reader_.fileOffset()) +
            "; the game has " + std::to_string(AllForms().size()));
    return form;
}

void Replayer::checkAfterPlayer() {
    if (stopping_) return;
    if (peekKind() != static_cast<std::uint8_t>(Rec::Check)) {
        if (!expect(Rec::Check, "handled a player's event")) return;
    } else {
        std::uint8_t kind = 0;
        reader_.u8(kind);
    }
    std::uint8_t lo = 0, hi = 0;
    if (!reader_.u8(lo) || !reader_.u8(hi)) {
        readFailed();
        return;
    }
    const std::uint64_t sum = StateChecksum();
    if ((sum & 0xFFFF) != (static_cast<std::uint64_t>(hi) << 8 | lo))
        diverge("the game's state after it differs from the recording's");
}

bool Replayer::dispatch(Rec kind) {
    auto fields = [this](bool ok) {
        if (!ok) readFailed();
        return ok;
    };
    auto open = [this](Form* form, const char* what) {
        lastEvent_ = std::string(what) + " on " + form->name();
        if (form->IsLoaded()) return true;
        diverge(form->name() + " is not open");
        return false;
    };
    // Hands the game one event, as its loops would.
    auto run = [this](const std::function<void()>& handle) {
        const bool was = std::exchange(dispatching_, true);
        handle();
        dispatching_ = was;
    };
    switch (kind) {
    case Rec::Tick: {
        Form* form = readForm();
        std::uint8_t index = 0;
        if (!form || !fields(reader_.u8(index))) return false;
        if (index >= form->timers().size()) {
            bad("names timer " + std::to_string(index) + " of " + form->name() + ", which has " +
                std::to_string(form->timers().size()));
            return false;
        }
        Timer* timer = form->timers()[index];
        lastEvent_ = "a tick of " + form->name() + "'s timer " + std::to_string(index);
        if (timer->Interval <= 0) {
            diverge("that timer is not running");
            return false;
        }
        run([timer] { timer->fire(); });
        return true;
    }
    case Rec::MouseDown:
    case Rec::MouseUp: {
        Form* form = readForm();
        std::uint8_t button = 0, shift = 0;
        float x = 0, y = 0;
        if (!form || !fields(reader_.u8(button) && reader_.u8(shift) && reader_.f32(x) && reader_.f32(y))) return false;
        if (button > 7 || shift > 7 || !Finite(x, -replay::kFarthest, replay::kFarthest) ||
            !Finite(y, -replay::kFarthest, replay::kFarthest)) {
            bad("has a mouse event out of range at byte " + std::to_string(reader_.fileOffset()));
            return false;
        }
        if (!open(form, kind == Rec::MouseDown ? "a mouse press" : "a mouse release")) return false;
        run([&] {
            if (kind == Rec::MouseDown)
                form->mouseDown(button, shift, x, y);
            else
                form->mouseUp(button, shift, x, y);
        });
        checkAfterPlayer();
        return true;
    }
    case Rec::Key: {
        Form* form = readForm();
        std::int64_t code = 0;
        std::uint8_t shift = 0, repeat = 0;
        if (!form || !fields(reader_.zigzag(code) && reader_.u8(shift) && reader_.u8(repeat))) return false;
        if (code < INT16_MIN || code > INT16_MAX || shift > 7 || repeat > 1) {
            bad("has a key out of range at byte " + std::to_string(reader_.fileOffset()));
            return false;
        }
        if (!open(form, ("key " + std::to_string(code)).c_str())) return false;
        run([&] { form->keyDown(static_cast<std::int16_t>(code), shift, repeat != 0); });
        checkAfterPlayer();
        return true;
    }
    case Rec::Activate:
    case Rec::Close: {
        Form* form = readForm();
        if (!form || !open(form, kind == Rec::Activate ? "a click into the window" : "the close button")) return false;
        run([&] {
            if (kind == Rec::Activate)
                form->activatedByUser();
            else
                form->closeRequested();
        });
        checkAfterPlayer();
        return true;
    }
    case Rec::Menu: {
        Form* form = readForm();
        std::uint64_t index = 0;
        if (!form || !fields(reader_.varint(index))) return false;
        MenuItem* item = names::MenuAt(*form, index);
        if (!item) {
            bad("names menu item " + std::to_string(index) + " of " + form->name() + ", which has no such item");
            return false;
        }
        if (!open(form, ("menu \"" + item->Caption.get() + "\"").c_str())) return false;
        run([&] { form->menuChosen(*item); });
        checkAfterPlayer();
        return true;
    }
    case Rec::SessionEnd:
        lastEvent_ = "the session's end";
        run([] { EndSession(); });
        return true;
    case Rec::Update: {
        lastEvent_ = "an activation update";
        if (posted_.empty()) {
            diverge("the game has no update waiting");
            return false;
        }
        auto task = std::move(posted_.front());
        posted_.pop_front();
        run(task);
        return true;
    }
    default: break;
    }
    const auto k = static_cast<std::uint8_t>(kind);
    if (k >= static_cast<std::uint8_t>(Rec::Time) && k <= static_cast<std::uint8_t>(Rec::TimeOfDay) &&
        std::strcmp(replay::RecName(kind), "an unknown record") != 0) {
        diverge(std::string("the recording has ") + replay::RecName(kind) + " here, which the game did not ask for");
        return false;
    }
    bad("has an unknown record (kind " + std::to_string(k) + ") at byte " + std::to_string(reader_.fileOffset()));
    return false;
}

Replayer::Step Replayer::step() {
    if (!stopping_) beforeEvent();
    if (!stopping_ && !moved_ && reader_.atEnd()) {
        readFailed();
    }
    if (stopping_) {
        endRun();
        return Step::Stopped;
    }
    std::uint8_t k = 0;
    if (moved_) {
        diverge("the recording has a window's place and size here, which the game did not ask for");
        endRun();
        return Step::Stopped;
    }
    reader_.u8(k);
    ++events_;
    const auto kind = static_cast<Rec>(k);
    switch (kind) {
    case Rec::ModalEnd:
        if (!reader_.u8(modalResult_)) break;
        return Step::ModalEnd;
    case Rec::EventsDone: return Step::EventsDone;
    case Rec::MsgBoxClosed: return Step::MsgBoxClosed;
    case Rec::InputAnswer:
        if (!reader_.text(answer_, replay::kLongestAnswer)) break;
        return Step::InputAnswer;
    case Rec::Finished:
        // A test's recording (the soak's) may stop anywhere, inside a loop too.
        if (reader_.header().fromTest) {
            endRun();
            return Step::Stopped;
        }
        return Step::Finished;
    default:
        if (dispatch(kind)) return Step::Dispatched;
        break;
    }
    if (!stopping_) {
        readFailed();
    }
    endRun();
    return Step::Stopped;
}

// Each loop of the game's runs until the recording says it returned.
namespace {
const char* EndName(int step) {
    static const char* const names[] = {"",
                                        "a modal window's end",
                                        "the end of a pass over the events",
                                        "a message box closed",
                                        "an input box's answer",
                                        "the program's end",
                                        ""};
    return names[step];
}
}  // namespace

bool Replayer::runModal(Form& form) {
    for (;;) {
        const Step s = step();
        if (s == Step::Dispatched) continue;
        if (s == Step::ModalEnd) return modalResult_ != 0;
        if (s != Step::Stopped)
            diverge(std::string("the recording has ") + EndName(static_cast<int>(s)) + " while " + form.name() +
                    " is open as a modal window");
        return false;
    }
}

void Replayer::processEvents() {
    for (;;) {
        const Step s = step();
        if (s == Step::Dispatched) continue;
        if (s != Step::EventsDone && s != Step::Stopped)
            diverge(std::string("the recording has ") + EndName(static_cast<int>(s)) +
                    " inside a pass over the events");
        return;
    }
}

int Replayer::exec() {
    while (!quit_) {
        const Step s = step();
        if (s == Step::Stopped) return 0;
        if (s == Step::Dispatched) continue;
        if (s == Step::Finished) {  // recorded from a test or the soak: the game was still running
            endRun();
            return 0;
        }
        diverge(std::string("the recording has ") + EndName(static_cast<int>(s)) + " where the game waits for events");
        endRun();
        return 0;
    }
    // The game has ended: so must the recording. (A test's loop may still
    // have run the activation updates that were waiting.)
    for (;;) {
        beforeEvent();
        if (stopping_ || peekKind() != static_cast<std::uint8_t>(Rec::Update)) break;
        std::uint8_t kind = 0;
        reader_.u8(kind);
        ++events_;
        dispatch(Rec::Update);
    }
    if (stopping_) return 0;
    const std::uint8_t next = peekKind();
    if (next == static_cast<std::uint8_t>(Rec::Finished)) {
        std::uint8_t kind = 0;
        reader_.u8(kind);
        ++events_;
        return 0;
    }
    if (next == 0 && reader_.atEnd()) {
        readFailed();
        return 0;
    }
    diverge(std::string("the game ended where the recording has ") + replay::RecName(static_cast<Rec>(next)));
    return 0;
}

void Replayer::msgBoxInformation(const std::string& text, const std::string& title) {
    if (pacer_) pacer_->dialogOpened(text, title, nullptr);
    for (;;) {
        const Step s = step();
        if (s == Step::Dispatched) continue;
        if (s != Step::MsgBoxClosed && s != Step::Stopped)
            diverge(std::string("the recording has ") + EndName(static_cast<int>(s)) + " while a message box is open");
        break;
    }
    if (pacer_) pacer_->dialogClosed({});
}

std::string Replayer::inputBox(const std::string& prompt, const std::string& title, const std::string& def) {
    if (pacer_) pacer_->dialogOpened(prompt, title, &def);
    std::string answer;
    for (;;) {
        const Step s = step();
        if (s == Step::Dispatched) continue;
        if (s == Step::InputAnswer) {
            answer = answer_;
        } else if (s != Step::Stopped) {
            diverge(std::string("the recording has ") + EndName(static_cast<int>(s)) + " while an input box is open");
        }
        break;
    }
    if (pacer_) pacer_->dialogClosed(answer);
    return answer;
}

// --- Answers -------------------------------------------------------------------

TextSize Replayer::measure(const Font& font, const std::string& text, float wrapWidth) {
    auto key = std::make_tuple(font.Name, font.Size, font.Bold, font.Weight, text, wrapWidth);
    if (auto it = texts_.find(key); it != texts_.end()) return it->second;
    TextSize size;
    if (!expect(Rec::Text, "measured a text")) return size;
    if (!reader_.f32(size.width) || !reader_.f32(size.height)) {
        readFailed();
        return {};
    }
    if (!Finite(size.width, 0, replay::kFarthest) || !Finite(size.height, 0, replay::kFarthest)) {
        bad("has a text size out of range at byte " + std::to_string(reader_.fileOffset()));
        return {};
    }
    return texts_[std::move(key)] = size;
}

Picture Replayer::load(std::string_view name) {
    const std::string key(name);
    if (auto it = pictures_.find(key); it != pictures_.end()) return it->second;
    if (!expect(Rec::Picture, "loaded a picture")) return {};
    std::uint8_t found = 0;
    std::uint64_t w = 0, h = 0;
    if (!reader_.u8(found) || !reader_.varint(w) || !reader_.varint(h)) {
        readFailed();
        return {};
    }
    if (found > 1 || w > 16384 || h > 16384) {
        bad("has a picture size out of range at byte " + std::to_string(reader_.fileOffset()));
        return {};
    }
    Picture p;
    if (found) p = Picture{key, static_cast<int>(w), static_cast<int>(h)};
    return pictures_[key] = p;
}

double Replayer::secondsSinceMidnight() {
    float seconds = 0;
    if (!expect(Rec::TimeOfDay, "read the clock")) return 0;
    if (!reader_.f32(seconds)) {
        readFailed();
        return 0;
    }
    if (!Finite(seconds, 0, 86400)) {
        bad("has a time of day out of range at byte " + std::to_string(reader_.fileOffset()));
        return 0;
    }
    return seconds;
}

std::uint64_t Replayer::startSeed() {
    std::uint64_t seed = 0;
    if (expect(Rec::Seed, "seeded its generator") && !reader_.u64(seed)) {
        readFailed();
    }
    return seed;
}

void Replayer::checkpoint() {
    if (expect(Rec::Checkpoint, "reached a game over")) readCheckpoint(1);
}

// --- Windows -------------------------------------------------------------------

std::unique_ptr<WindowHost> Replayer::createWindow(Form& form) {
    const int index = names::FormIndex(form);
    auto host = std::make_unique<Host>(*this, index, screen_ ? screen_->createWindow(form) : nullptr);
    hosts_[index] = host.get();
    refresh();
    return host;
}

void Replayer::disposeWindow(std::unique_ptr<WindowHost> window) {
    auto* host = static_cast<Host*>(window.get());  // every window the game has came from createWindow
    if (const auto it = hosts_.find(host->index()); it != hosts_.end() && it->second == host) hosts_.erase(it);
    if (auto inner = host->release(); inner && screen_) screen_->disposeWindow(std::move(inner));
}

// --- The player -----------------------------------------------------------------

bool Replayer::admit(const Input& in) {
    if (dispatching_) return true;
    // On screen, the player only watches: Escape or a close button ends the replay.
    if ((in.kind == Input::Key && in.button == keys::Escape) || in.kind == Input::Close) {
        if (!stopping_) {
            outcome_ = Outcome::Ended;
            stopping_ = true;
        }
    }
    return false;
}

int VerifyRecording(const std::string& path, const std::function<void()>& start, const std::function<void()>& finish) {
    replay::Reader reader;
    if (!reader.open(path)) {
        std::fprintf(stderr, "kelvo: %s %s\n", path.c_str(), reader.error().c_str());
        return 2;
    }
    Replayer replayer(reader);
    InstallServices(replayer.services());
    SetJournal(&replayer);
    RunProgram([&] {
        if (reader.header().fromTest) detail::setProgramRunning(false);
        start();
    });
    const std::string line = replayer.report();
    const Replayer::Outcome outcome = replayer.outcome();
    if (finish) finish();
    SetJournal(nullptr);
    InstallServices({});
    if (outcome == Replayer::Outcome::BadFile) {
        std::fprintf(stderr, "kelvo: %s %s\n", path.c_str(), line.c_str());
        return 2;
    }
    std::printf("%s: %s\n", path.c_str(), line.c_str());
    return outcome == Replayer::Outcome::Matches ? 0 : 1;
}

}  // namespace platform
