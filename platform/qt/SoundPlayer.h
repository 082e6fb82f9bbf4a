#pragma once
// The sound player's side, in a module of its own with Qt Multimedia.

#include <functional>
#include <map>
#include <memory>
#include <string>

class QSoundEffect;

namespace platform::qt {

// The player's side: each path it takes stops the sound before it and plays
// its file, read once; the empty path stops. FAILED is called when Qt
// Multimedia stops a sound before its end and its server takes no stream.
class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;
    void take(const std::string& path);
    // How many sounds play now: one at most.
    int playing() const;
    // How many files have been handed to Qt Multimedia, each once.
    int handedOver() const { return static_cast<int>(effects_.size()); }
    std::function<void()> failed;

private:
    std::map<std::string, std::unique_ptr<QSoundEffect>> effects_;
    QSoundEffect* current_ = nullptr;
};

// The player itself, in that module.
int PlaySounds(int argc, char** argv);

}  // namespace platform::qt
