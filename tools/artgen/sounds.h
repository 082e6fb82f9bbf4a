#pragma once
// The three sound effects, synthesised from oscillators, filtered noise and
// envelopes with fixed seeds, written as 16-bit mono PCM WAV at 44100 Hz.

#include <QString>

#include <cstdint>
#include <vector>

namespace artgen {

inline constexpr int kSampleRate = 44100;

// Finished 16-bit samples of each effect.
std::vector<std::int16_t> beamZap();      // Kelvo.WAV
std::vector<std::int16_t> energyBurst();  // EnergyBang.WAV
std::vector<std::int16_t> explosion();    // Destruct.WAV

// A RIFF/WAVE file with one fmt chunk (PCM, mono, kSampleRate, 16 bits) and
// one data chunk. False if the file could not be written.
bool writeWav(const QString& path, const std::vector<std::int16_t>& samples);

// Writes Kelvo.WAV, EnergyBang.WAV and Destruct.WAV into `directory`.
bool writeSounds(const QString& directory);

}  // namespace artgen
