#pragma once
// What recordings and replays share: how they name forms, timers and menu
// items (by their place, so the names hold from one run to the next), the
// checksum of the game's state, and what the game tells about itself.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

class Form;
class MenuItem;
class Timer;

// Adds values to a checksum, in order.
class StateHash {
public:
    void add(std::uint64_t v);
    void add(float v);
    void add(const std::string& s);
    std::uint64_t value() const { return h_; }

private:
    std::uint64_t h_ = 0x4B656C766F5265ULL;
};

// What the game tells a recording about itself: its own variables for the
// checksum, a few numbers a divergence is explained by ("score"), and the
// line --verify prints at the end.
struct GameFacts {
    std::function<void(StateHash&)> addState;
    std::function<std::vector<std::pair<std::string, std::int64_t>>()> numbers;
    std::function<std::string()> summary;
};
void SetGameFacts(GameFacts facts);
const GameFacts& CurrentGameFacts();

// The game's state: every loaded form's controls and running timers, the
// random generator's state and the game's own variables.
std::uint64_t StateChecksum();

namespace names {
// Forms by the order they were made; timers by their place in their form's
// list; menu items by their place in the form's menus, depth first. -1 (or
// nullptr) where there is none.
int FormIndex(const Form& form);
Form* FormAt(std::uint64_t index);
int TimerIndex(const Form& form, const Timer& timer);
// The loaded form whose timer it is, nullptr for a timer of no form's.
Form* TimerOwner(const Timer& timer);
// Its form and place, as traces show it ("frmKelvo.5"), or "timer".
std::string TimerName(const Timer& timer);
int MenuIndex(const Form& form, const MenuItem& item);
MenuItem* MenuAt(const Form& form, std::uint64_t index);
}  // namespace names

}  // namespace platform
