#pragma once
// The time of day and a first seed, from the system through Qt.

#include <QElapsedTimer>

#include <cstdint>

#include "platform/core/Services.h"

namespace platform::qt {

// The time of day from Qt, and a seed from the system's random source.
class QtClock final : public SystemClock {
public:
    QtClock() { started_.start(); }
    double secondsSinceMidnight() override;
    std::uint64_t startSeed() override;
    std::int64_t elapsedMs() override { return started_.elapsed(); }

private:
    QElapsedTimer started_;
};

}  // namespace platform::qt
