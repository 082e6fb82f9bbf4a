#include "platform/core/Replay.h"

#include <cstring>

#include "platform/core/Application.h"
#include "platform/core/Form.h"
#include "platform/core/Random.h"

namespace platform {
namespace {

GameFacts& facts() {
    static GameFacts f;
    return f;
}

// Each control's state as the player could see it.
class Hasher final : public ControlVisitor {
public:
    explicit Hasher(StateHash& h) : h_(h) {}
    void control(Control& c) {
        h_.add(static_cast<std::uint64_t>(c.Visible.get()) | (static_cast<std::uint64_t>(c.Enabled.get()) << 1));
        c.accept(*this);
    }
    void visit(Image& c) override {
        rect(c);
        h_.add(c.Picture.get().name);
    }
    void visit(Label& c) override {
        rect(c);
        h_.add(c.Caption.get());
        h_.add(static_cast<std::uint64_t>(c.ForeColor.get()) << 32 | c.BackColor.get());
        h_.add(c.Font.get().Size);
    }
    void visit(Shape& c) override {
        rect(c);
        h_.add(static_cast<std::uint64_t>(c.BorderColor.get()) << 32 | c.FillColor.get());
    }
    void visit(Line& c) override {
        for (float v : {c.X1.get(), c.Y1.get(), c.X2.get(), c.Y2.get()}) h_.add(v);
        h_.add(static_cast<std::uint64_t>(c.BorderColor.get()));
    }
    void visit(Frame& c) override {
        rect(c);
        h_.add(c.Caption.get());
    }
    void visit(CommandButton& c) override {
        rect(c);
        h_.add(c.Caption.get());
        h_.add(static_cast<std::uint64_t>(c.BackColor.get()));
    }
    void visit(OptionButton& c) override {
        rect(c);
        h_.add(c.Caption.get());
        h_.add(static_cast<std::uint64_t>(c.Value ? 1 : 0));
    }

private:
    void rect(RectControl& c) {
        for (float v : {c.Left.get(), c.Top.get(), c.Width.get(), c.Height.get()}) h_.add(v);
    }
    StateHash& h_;
};

void CollectMenus(const std::vector<MenuItem*>& items, std::vector<MenuItem*>& out) {
    for (MenuItem* m : items) {
        out.push_back(m);
        CollectMenus(m->items(), out);
    }
}

std::vector<MenuItem*> Menus(const Form& form) {
    std::vector<MenuItem*> all;
    CollectMenus(form.menus(), all);
    return all;
}

}  // namespace

void StateHash::add(std::uint64_t v) {
    std::uint64_t z = h_ ^ (v + 0x9E3779B97F4A7C15ULL + (h_ << 6) + (h_ >> 2));
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    h_ = z ^ (z >> 31);
}

void StateHash::add(float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    add(static_cast<std::uint64_t>(bits));
}

void StateHash::add(const std::string& s) {
    add(static_cast<std::uint64_t>(s.size()));
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        word = (word << 8) | static_cast<unsigned char>(s[i]);
        if (i % 8 == 7) add(std::exchange(word, 0));
    }
    add(word);
}

void SetGameFacts(GameFacts f) { facts() = std::move(f); }
const GameFacts& CurrentGameFacts() { return facts(); }

std::uint64_t StateChecksum() {
    StateHash h;
    for (Form* form : AllForms()) {
        h.add(static_cast<std::uint64_t>(form->IsLoaded()));
        if (!form->IsLoaded()) continue;
        Hasher controls(h);
        for (Control* c : form->controls()) controls.control(*c);
        for (const Timer* t : form->timers()) h.add(static_cast<std::uint64_t>(t->Interval.get()));
        for (const MenuItem* m : Menus(*form))
            h.add(static_cast<std::uint64_t>(m->Checked.get()) | static_cast<std::uint64_t>(m->Enabled.get()) << 1);
    }
    h.add(Generator().digest());
    if (facts().addState) facts().addState(h);
    return h.value();
}

namespace names {

int FormIndex(const Form& form) {
    const auto& all = AllForms();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i] == &form) return static_cast<int>(i);
    return -1;
}

Form* FormAt(std::uint64_t index) {
    const auto& all = AllForms();
    return index < all.size() ? all[index] : nullptr;
}

int TimerIndex(const Form& form, const Timer& timer) {
    const auto& list = form.timers();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == &timer) return static_cast<int>(i);
    return -1;
}

Form* TimerOwner(const Timer& timer) {
    for (Form* form : AllForms())
        if (TimerIndex(*form, timer) >= 0) return form;
    return nullptr;
}

std::string TimerName(const Timer& timer) {
    const Form* form = TimerOwner(timer);
    return form ? form->name() + "." + std::to_string(TimerIndex(*form, timer)) : "timer";
}

int MenuIndex(const Form& form, const MenuItem& item) {
    const auto all = Menus(form);
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i] == &item) return static_cast<int>(i);
    return -1;
}

MenuItem* MenuAt(const Form& form, std::uint64_t index) {
    const auto all = Menus(form);
    return index < all.size() ? all[index] : nullptr;
}

}  // namespace names
}  // namespace platform
