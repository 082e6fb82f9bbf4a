#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/qt/QtSound.h"
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

// The player's module lies beside the program file (in the build tree), or
// where the install put it, KELVO_PLAYER_FROM_PROGRAM from the program's folder.
int RunSoundPlayer(int argc, char** argv) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    std::vector<std::filesystem::path> places{folder};
#ifdef KELVO_PLAYER_FROM_PROGRAM
    places.push_back(folder / KELVO_PLAYER_FROM_PROGRAM);
#endif
    for (const std::filesystem::path& place : places) {
        const std::string module = (place / "kelvo-sound-player.so").lexically_normal().string();
        if (void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            if (auto* play = reinterpret_cast<int (*)(int, char**)>(dlsym(handle, "kelvo_play_sounds")))
                return play(argc, argv);
        }
    }
    return QtSound::kNoServer;  // no sound; the game says so once
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
