#include <QAudioDevice>
#include <QAudioSink>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSocketNotifier>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <fcntl.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <thread>

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

// The player's exit statuses: its sound server went away (a new failure), or
// none answered it at all.
constexpr int kServerLost = 3, kNoServer = 4;

// Whether the sound server takes a stream now: Qt Multimedia opens one at
// once, or fails at once when the server is gone (it stays gone for Qt).
bool ServerAnswers() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return false;
    QAudioSink sink(device, device.preferredFormat());
    sink.start();
    const bool answers = sink.error() == QAudio::NoError;
    sink.stop();
    return answers;
}

}  // namespace

SoundPlayer::SoundPlayer() = default;
SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::take(const std::string& path) {
    if (QSoundEffect* old = std::exchange(current_, nullptr)) old->stop();
    if (path.empty()) return;
    auto& effect = effects_[path];
    if (!effect) {
        effect = std::make_unique<QSoundEffect>();
        // A sound that stops on its own has ended, or its stream failed: the
        // file was found playable, so a failure is the server's.
        QObject::connect(effect.get(), &QSoundEffect::playingChanged, effect.get(), [this, e = effect.get()] {
            if (e == current_ && !e->isPlaying() && failed && !ServerAnswers()) failed();
        });
        effect->setSource(QUrl::fromLocalFile(Q(path)));
    }
    current_ = effect.get();
    current_->play();
}

int SoundPlayer::playing() const {
    return static_cast<int>(
        std::count_if(effects_.begin(), effects_.end(), [](const auto& e) { return e.second->isPlaying(); }));
}

// The player's process, named PROGRAM-sound among the processes: paths from
// its standard input, one a line, until it closes. Qt Multimedia tries its
// sound server once for each process (and once more 3 s after losing it):
// a player whose server is gone or absent ends, with a status that says
// which, and the game starts a new one. Qt's own lines are left out (the game
// writes one for a failure).
int RunSoundPlayer(int argc, char** argv) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    prctl(PR_SET_NAME, (QCoreApplication::applicationName().toLower() + QStringLiteral("-sound")).toUtf8().data());
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QCoreApplication app(argc, argv);
    if (QMediaDevices::audioOutputs().isEmpty() || getppid() == 1) return kNoServer;
    SoundPlayer player;
    player.failed = [] { QCoreApplication::exit(kServerLost); };
    // Qt Multimedia can wait for good on a server killed under a stream: a
    // player whose event loop has not run for ten seconds ends, and the game
    // starts a new one.
    std::atomic<qint64> alive = QDateTime::currentSecsSinceEpoch();
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] { alive = QDateTime::currentSecsSinceEpoch(); });
    beat.start(500);
    const std::jthread watchdog([&](const std::stop_token& stop) {
        while (!stop.stop_requested()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (QDateTime::currentSecsSinceEpoch() - alive > 10) _exit(kNoServer);
        }
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    std::string lines;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char chunk[4096];
        const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            input.setEnabled(false);
            QCoreApplication::exit(0);
            return;
        }
        lines.append(chunk, static_cast<std::size_t>(n));
        for (std::size_t end; (end = lines.find('\n')) != std::string::npos; lines.erase(0, end + 1))
            player.take(lines.substr(0, end));
    });
    return QCoreApplication::exec();
}

QtSound::QtSound(std::vector<std::string> player) : command_(std::move(player)) {
    if (command_.empty()) command_ = {QCoreApplication::applicationFilePath().toStdString(), "--sound-player"};
}

// The player is given half a second to end on its own once its input closes.
QtSound::~QtSound() {
    if (pid_ <= 0) return;
    close(fd_);
    for (int i = 0; i < 50 && waitpid(pid_, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
}

// Reading a WAV file's headers takes no time: it is done here, on the game's
// thread, once for each file found playable and at each try for one that is
// not (it may be replaced).
void QtSound::play(const std::string& path) {
    const QString file = Q(path);
    const bool playable = QFileInfo(file).isFile() && (checked_.contains(path) || IsPlayableWav(file));
    if (playable) checked_.insert(path);
    if (!running() && !start()) return;
    const std::string line = (playable ? path : std::string()) + '\n';
    // A player that does not read (its server stopped) loses what it cannot take.
    (void)!send(fd_, line.data(), line.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
}

// Whether the player still runs; one that ended is let go, with a line if
// its server failed.
bool QtSound::running() {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, WNOHANG) == 0) return pid_ > 0;
    close(fd_);
    pid_ = -1;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code == kServerLost || (code == kNoServer && !said_))
        std::fprintf(stderr, "%s: no sound server; sounds come back when one answers\n",
                     qPrintable(QCoreApplication::applicationName().toLower()));
    said_ = said_ || code == kServerLost || code == kNoServer;
    return false;
}

// A new player, one every two seconds at most: Qt Multimedia tries its sound
// server once for each process, so a new one is how sounds come back.
bool QtSound::start() {
    if (started_.isValid() && !started_.hasExpired(2000)) return false;
    started_.start();
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDIN_FILENO);
    // The player says nothing of its own: the game's one line tells of a lost
    // server, while the sound libraries may print (and, as libpulse does when
    // its server dies under it, abort) in the player.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (std::string& a : command_) argv.push_back(a.data());
    argv.push_back(nullptr);
    const bool spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    fd_ = fds[0];
    if (!spawned) {
        close(fd_);
        pid_ = -1;
    }
    return spawned;
}

}  // namespace platform::qt
