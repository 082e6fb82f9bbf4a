#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/qt/QtServices.h"
#include "platform/qt/QtSupport.h"

namespace platform::qt {
namespace {

std::uint32_t Le(const unsigned char* p, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

bool ReadAt(QFile& file, qint64 at, unsigned char* into, qint64 count) {
    return file.seek(at) && file.read(reinterpret_cast<char*>(into), count) == count;
}

// Whether the file is a RIFF/WAVE file of plain PCM that Qt Multimedia plays:
// 8 or 16 bits, mono or stereo, the format chunk ahead of a data chunk that
// holds at least one frame, and every chunk up to that one inside both the
// file and the size its header gives. Reads only chunk headers and the format,
// so it stays cheap whatever the file's length. Anything else, Qt Multimedia
// would read in the background, fail on and keep for good, so it never gets it.
bool IsPlayableWav(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    unsigned char riff[12];
    if (!ReadAt(file, 0, riff, 12) || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
        return false;
    const qint64 end = 8 + qint64{Le(riff + 4, 4)};
    if (end > file.size()) return false;  // truncated, or a header that promises more than there is
    constexpr int kMostChunks = 64;
    std::uint32_t frameBytes = 0;
    qint64 at = 12;
    for (int chunk = 0; chunk < kMostChunks && at + 8 <= end; ++chunk) {
        unsigned char head[8];
        if (!ReadAt(file, at, head, 8)) return false;
        const qint64 body = at + 8, length = Le(head + 4, 4);
        if (body + length > end) return false;
        if (std::memcmp(head, "fmt ", 4) == 0) {
            unsigned char fmt[16];
            if (frameBytes != 0 || length < 16 || !ReadAt(file, body, fmt, 16)) return false;
            const std::uint32_t tag = Le(fmt, 2), channels = Le(fmt + 2, 2), rate = Le(fmt + 4, 4);
            const std::uint32_t blockAlign = Le(fmt + 12, 2), bits = Le(fmt + 14, 2);
            const bool pcm = tag == 1 && (channels == 1 || channels == 2) && (bits == 8 || bits == 16) && rate > 0;
            if (!pcm || blockAlign != channels * bits / 8) return false;
            frameBytes = blockAlign;
        } else if (std::memcmp(head, "data", 4) == 0) {
            return frameBytes != 0 && length >= frameBytes;
        }
        at = body + length + (length & 1);
    }
    return false;
}

}  // namespace

QtSound::QtSound() = default;

// Qt Multimedia 6.4 reads each file in a thread of its own, and a sound let go
// while its file is being read (or a program that ends then) can hang, crash
// or keep what was read: every reading is given up to a second to finish.
QtSound::~QtSound() {
    const QDeadlineTimer deadline(1000);
    const auto reading = [this] {
        return std::any_of(effects_.begin(), effects_.end(),
                           [](const auto& e) { return e.second->status() == QSoundEffect::Loading; });
    };
    while (reading() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
}

void QtSound::play(const std::string& path) {
    if (current_) current_->stop();
    current_ = nullptr;
    const QString file = Q(path);
    if (!QFileInfo(file).isFile()) return;
    auto found = effects_.find(path);
    if (found == effects_.end()) {
        if (!IsPlayableWav(file)) return;  // looked at again next time: the file may be replaced
        found = effects_.emplace(path, std::make_unique<QSoundEffect>()).first;
        found->second->setSource(QUrl::fromLocalFile(file));
    }
    QSoundEffect& effect = *found->second;
    if (effect.status() == QSoundEffect::Error) return;
    current_ = &effect;
    current_->play();
}

int QtSound::playing() const {
    int n = 0;
    for (const auto& [path, effect] : effects_) n += effect->isPlaying() ? 1 : 0;
    return n;
}

}  // namespace platform::qt
