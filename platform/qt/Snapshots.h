#pragma once
// Pictures of the windows at the same moments of a recorded session and of its
// replay, to compare them pixel for pixel. With KELVO_SNAPSHOTS naming a
// folder, the program saves each shown window's client area there at every
// game over and after every 500th event the game handled, as
// "<event>-<form>.png" (game overs: "<event>-<form>-over.png").

#include <QString>

#include <cstdint>

#include "platform/core/Journal.h"

namespace platform::qt {

class QtWindows;

class Snapshots final : public Journal {
public:
    Snapshots(Journal& inner, const QtWindows& windows, QString folder)
        : inner_(inner), windows_(windows), folder_(std::move(folder)) {}
    bool admit(const Input& input) override { return inner_.admit(input); }
    void handled(const Input& input) override;
    void checkpoint() override;

private:
    void take(const char* suffix);
    Journal& inner_;
    const QtWindows& windows_;
    QString folder_;
    std::uint64_t events_ = 0;
};

}  // namespace platform::qt
