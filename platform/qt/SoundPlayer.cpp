// The player's side of the sound: Qt Multimedia. It is a module of its own
// that only the player's process loads (RunSoundPlayer), so that the game's
// process never loads Qt Multimedia and the sound libraries under it, which
// would cost its start-up a good part of the time to its first frame.

#include <QAudioDevice>
#include <QAudioSink>
#include <QCoreApplication>
#include <QDateTime>
#include <QMediaDevices>
#include <QSocketNotifier>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <sys/prctl.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "platform/qt/QtSound.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/SoundPlayer.h"

namespace platform::qt {
namespace {

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
int PlaySounds(int argc, char** argv) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    char name[16];  // as much as the kernel keeps of it
    std::snprintf(name, sizeof name, "%s-sound", qPrintable(QCoreApplication::applicationName().toLower()));
    prctl(PR_SET_NAME, name);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QCoreApplication app(argc, argv);
    if (QMediaDevices::audioOutputs().isEmpty() || getppid() == 1) return QtSound::kNoServer;
    SoundPlayer player;
    player.failed = [] { QCoreApplication::exit(QtSound::kServerLost); };
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
            if (QDateTime::currentSecsSinceEpoch() - alive > 10) _exit(QtSound::kNoServer);
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

}  // namespace platform::qt

// What RunSoundPlayer looks up in the module.
extern "C" __attribute__((visibility("default"))) int kelvo_play_sounds(int argc, char** argv) {
    return platform::qt::PlaySounds(argc, argv);
}
