#pragma once
// Everything that reaches the game from outside the program passes one of the
// doors below, in the order the game meets it: timer ticks, the player's keys,
// presses and releases, menu commands, close requests, activation, and the end
// of the session. A journal sees each one before the game does; a recording
// writes them down, a replay lets through only the ones it feeds in itself.

#include <cstdint>

namespace platform {

class Form;
class MenuItem;
class Timer;

struct Input {
    enum Kind : std::uint8_t { Tick, MouseDown, MouseUp, Key, Activate, Close, Menu, SessionEnd };
    Kind kind = Tick;
    Form* form = nullptr;  // the form it is for (nullptr for the session's end)
    Timer* timer = nullptr;
    MenuItem* item = nullptr;
    std::int16_t button = 0;  // or the key code
    std::int16_t shift = 0;
    bool autoRepeat = false;
    float x = 0, y = 0;  // twips of the form's client area
};

class Journal {
public:
    virtual ~Journal() = default;
    // Before the game handles it: false drops it.
    virtual bool admit(const Input& input) = 0;
    // Once the game has handled it (nested loops included).
    virtual void handled(const Input& input) = 0;
    // The game has reached a point worth checking: a game over.
    virtual void checkpoint() = 0;
};

// The journal that sees every input; nullptr for none.
void SetJournal(Journal* journal);
Journal* CurrentJournal();

// Brackets the handling of one input: admit() on the way in, handled() on
// the way out.
class InputScope {
public:
    explicit InputScope(const Input& input) : input_(input), journal_(CurrentJournal()) {
        admitted_ = !journal_ || journal_->admit(input_);
    }
    ~InputScope() {
        if (journal_ && admitted_) journal_->handled(input_);
    }
    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;
    bool admitted() const { return admitted_; }

private:
    Input input_;
    Journal* journal_;
    bool admitted_ = true;
};

// A game over, or another moment a recording should check the game's state at.
void Checkpoint();

}  // namespace platform
