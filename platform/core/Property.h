#pragma once
// Control properties that read and write like plain values
// (`imgBlaster.Left = imgBlaster.Left - step;`) and tell their owner when
// they change, so that the screen follows the state.

#include <type_traits>
#include <utility>

namespace platform {

class PropertyOwner {
public:
    // Called after a property's value has been written. `id` is the owner's own
    // numbering of its properties.
    virtual void propertyChanged(int id) = 0;

protected:
    ~PropertyOwner() = default;
};

// Notifies only when the value really changes, unless `Always` is set (a timer's
// Interval restarts its period on every write, even of the same value).
template <class T, bool Always = false>
class Prop {
public:
    Prop(PropertyOwner* owner, int id, T init = T{}) : owner_(owner), id_(id), value_(std::move(init)) {}
    Prop(const Prop&) = delete;

    Prop& operator=(const Prop& other) { return *this = other.value_; }
    Prop& operator=(T v) {
        if (Always || !(v == value_)) {
            value_ = std::move(v);
            owner_->propertyChanged(id_);
        }
        return *this;
    }
    template <class U>
    Prop& operator+=(const U& d) {
        return *this = static_cast<T>(value_ + d);
    }
    template <class U>
    Prop& operator-=(const U& d) {
        return *this = static_cast<T>(value_ - d);
    }

    operator const T&() const { return value_; }
    const T& get() const { return value_; }

    // Sets the value without telling the owner (the owner's own bookkeeping).
    void setQuietly(T v) { value_ = std::move(v); }

    // Arithmetic values compare through the conversion above; this one serves
    // texts and pictures (`lblScroll.Caption == "..."`).
    friend bool operator==(const Prop& a, const T& b) requires(!std::is_arithmetic_v<T>) { return a.value_ == b; }

private:
    PropertyOwner* owner_;
    int id_;
    T value_;
};

}  // namespace platform
