#include <QRandomGenerator>
#include <QTime>

#include "platform/qt/QtClock.h"

namespace platform::qt {

double QtClock::secondsSinceMidnight() { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

std::uint64_t QtClock::startSeed() { return QRandomGenerator::system()->generate64(); }

}  // namespace platform::qt
