#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

#include <unistd.h>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>

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

// Qt Multimedia writes a line for each sound that fails, the same line as
// long as the failure lasts ("No audio device detected" for every sound
// without a server): of the lines written off the game's thread, one the same
// as the one before is left out, so that a failure costs one line.
class SoundSideMessages {
public:
    static void install() { previous_ = qInstallMessageHandler(&handle); }
    static void uninstall() { qInstallMessageHandler(previous_); }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        const QCoreApplication* app = QCoreApplication::instance();
        if (app && QThread::currentThread() != app->thread()) {
            const std::lock_guard lock(mutex_);
            if (text == last_) return;
            last_ = text;
        }
        if (previous_) previous_(type, context, text);
    }

    static inline QtMessageHandler previous_ = nullptr;
    static inline std::mutex mutex_;
    static inline QString last_;  // guarded by mutex_
};

}  // namespace

// The playback thread's side. Qt Multimedia starts a sound by opening a
// stream on the sound server and waits for the server's answer, up to half a
// minute when the server is stopped, and may never come back from it: the
// game hands its requests over and never waits for this thread.
class SoundPlayer final : public QObject {
public:
    // Any thread: the newest request replaces one not yet taken; the empty
    // path stops what plays.
    void request(std::string path) {
        const std::lock_guard lock(mutex_);
        const bool queued = pending_.has_value();
        pending_ = std::move(path);
        if (!queued) QMetaObject::invokeMethod(this, &SoundPlayer::take, Qt::QueuedConnection);
    }

    // The rest runs on the playback thread.
    int playing() const {
        return static_cast<int>(
            std::count_if(effects_.begin(), effects_.end(), [](const auto& e) { return e.second->isPlaying(); }));
    }
    int handedOver() const { return static_cast<int>(effects_.size()); }

    // Qt Multimedia 6.4 reads each file in a thread of its own, and a sound
    // let go while its file is being read can hang, crash or keep what was
    // read: each reading is given until DEADLINE to finish.
    void finish(QDeadlineTimer deadline) {
        const auto reading = [this] {
            return std::any_of(effects_.begin(), effects_.end(),
                               [](const auto& e) { return e.second->status() == QSoundEffect::Loading; });
        };
        while (reading() && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
            QThread::msleep(1);
        }
        current_ = nullptr;
        effects_.clear();
        QThread::currentThread()->quit();
    }

private:
    void take() {
        std::string path;
        {
            const std::lock_guard lock(mutex_);
            path = std::move(*pending_);
            pending_.reset();
        }
        if (current_) current_->stop();
        current_ = nullptr;
        if (path.empty()) return;
        auto& effect = effects_[path];
        // The file was found playable, so an error is the sound server's (gone,
        // or absent when the sound was made): a new sound opens a new stream
        // on whatever server there is now.
        if (!effect || effect->status() == QSoundEffect::Error) {
            effect = std::make_unique<QSoundEffect>();
            effect->setSource(QUrl::fromLocalFile(Q(path)));
        }
        current_ = effect.get();
        current_->play();
    }

    std::mutex mutex_;
    std::optional<std::string> pending_;  // guarded by mutex_
    std::map<std::string, std::unique_ptr<QSoundEffect>> effects_;
    QSoundEffect* current_ = nullptr;
};

QtSound::QtSound() : thread_(new QThread), player_(new SoundPlayer) {
    thread_->setObjectName(QStringLiteral("sound"));
    player_->moveToThread(thread_);
    thread_->start();
    SoundSideMessages::install();
}

// The program ends within a second whatever the sound server does. A playback
// thread still inside the server's library then is left running, and the
// process ends at exit() before any destructor runs: Qt's own sound engine
// would wait for that thread, and a QThread destroyed while it runs aborts.
// The game keeps nothing on disk, so nothing is lost.
QtSound::~QtSound() {
    const QDeadlineTimer deadline(800);
    QMetaObject::invokeMethod(
        player_, [player = player_, deadline] { player->finish(deadline); }, Qt::QueuedConnection);
    if (thread_->wait(QDeadlineTimer(1000))) {
        SoundSideMessages::uninstall();
        delete player_;
        delete thread_;
        return;
    }
    std::fprintf(stderr, "%s: the sound server does not answer; ending without it\n",
                 qPrintable(QCoreApplication::applicationName().toLower()));
    on_exit(
        [](int status, void*) {
            std::fflush(nullptr);
            _exit(status);
        },
        nullptr);
}

// Reading a WAV file's headers takes no time: it is done here, on the game's
// thread, once for each file found playable and at each try for one that is
// not (it may be replaced).
void QtSound::play(const std::string& path) {
    const QString file = Q(path);
    const bool playable = QFileInfo(file).isFile() && (checked_.contains(path) || IsPlayableWav(file));
    if (playable) checked_.insert(path);
    player_->request(playable ? path : std::string());
}

int QtSound::playing() const {
    int n = 0;
    QMetaObject::invokeMethod(
        player_, [&] { n = player_->playing(); }, Qt::BlockingQueuedConnection);
    return n;
}

int QtSound::handedOver() const {
    int n = 0;
    QMetaObject::invokeMethod(
        player_, [&] { n = player_->handedOver(); }, Qt::BlockingQueuedConnection);
    return n;
}

}  // namespace platform::qt
