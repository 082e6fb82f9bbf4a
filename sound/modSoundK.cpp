#include "sound/modSoundK.h"

#include "platform/core/Application.h"

namespace kelvo {
namespace {

// The path is built anew at every call, so the files are looked up where the
// program lies at that moment. The names keep their case: "WAV" upper case.
void PlayFromAppFolder(const char* file) {
    platform::PlaySoundFile(platform::AppPath() + platform::kPathSeparator + file);
}

}  // namespace

void PlayKelvoSound() { PlayFromAppFolder("Kelvo.WAV"); }
void PlayEnergyBangSound() { PlayFromAppFolder("EnergyBang.WAV"); }
void PlayDestructSound() { PlayFromAppFolder("Destruct.WAV"); }

}  // namespace kelvo
