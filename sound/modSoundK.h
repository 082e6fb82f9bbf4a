#pragma once
// The game's three sound effects. Each starts its WAV file, read from the
// program's own folder at the moment of the call, and returns at once. One
// sound plays at a time: a new start cuts off what plays. A missing or broken
// file stays silent and changes nothing else.

namespace kelvo {

void PlayKelvoSound();       // the beam is fired
void PlayEnergyBangSound();  // the beam wrecks a ship or a missile, once per wreck
void PlayDestructSound();    // a ship or a missile strikes the satellite

}  // namespace kelvo
