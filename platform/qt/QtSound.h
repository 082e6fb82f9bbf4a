#pragma once
// The game's side of its sounds: checks each file and hands it to a player process.

#include <QElapsedTimer>

#include <set>
#include <string>
#include <vector>

#include "platform/core/Services.h"

namespace platform::qt {

// One sound at a time: starting a sound stops whatever plays, and the same
// sound starts again from its beginning. Files that cannot be played stay
// silent; without an audio device nothing plays and nothing else changes.
// Only 8- or 16-bit PCM WAV files whose header and chunks hold together reach
// Qt Multimedia: a missing, empty, truncated or foreign file plays nothing
// and is not handed over at all. Sounds play in a process of their own, the
// player (RunSoundPlayer), so that a sound server that does not answer never
// holds up the game, and one that comes back is found by a new player.
class QtSound final : public SoundService {
public:
    // PLAYER: the player's command; the program itself with --sound-player if empty.
    explicit QtSound(std::vector<std::string> player = {});
    ~QtSound() override;
    QtSound(const QtSound&) = delete;
    QtSound& operator=(const QtSound&) = delete;
    // Asks the player for the sound at PATH, a line on its input; "" stops.
    void play(const std::string& path) override;
    // The player's exit statuses: its sound server went away (a new
    // failure), or none answered it at all.
    static constexpr int kServerLost = 3, kNoServer = 4;

private:
    bool running();
    bool start();

    std::set<std::string> checked_;  // files found playable
    std::vector<std::string> command_;
    int pid_ = -1, fd_ = -1;  // the player and its input
    QElapsedTimer started_;
    bool said_ = false;  // the line for a missing server was written
};

// The player's process, run as the program with --sound-player first: it
// loads the player's module (kelvo-sound-player.so, Qt Multimedia and the
// sound libraries, which the game's own process never loads) and runs it.
int RunSoundPlayer(int argc, char** argv);

}  // namespace platform::qt
