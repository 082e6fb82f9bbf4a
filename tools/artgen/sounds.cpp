#include "sounds.h"

#include "noise.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace artgen {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kDt = 1.0 / kSampleRate;

// Peak level of every effect: -1 dBFS.
const double kPeak = std::pow(10.0, -1.0 / 20.0);
// Untouched silence at each end, then a raised-cosine ramp, so no effect
// starts or stops with a click.
constexpr double kQuietEdge = 0.005;
constexpr double kAttack = 0.004;
constexpr double kRelease = 0.030;

std::size_t sampleCount(double seconds) { return static_cast<std::size_t>(std::lround(seconds * kSampleRate)); }

double timeOf(std::size_t i) { return static_cast<double>(i) * kDt; }

// A band-limited sawtooth: only the harmonics below 18 kHz, so fast sweeps
// do not alias into whistles.
double saw(double phase, double frequency) {
    const int harmonics = std::clamp(static_cast<int>(18000.0 / frequency), 1, 40);
    double sum = 0.0;
    for (int k = 1; k <= harmonics; ++k) sum += std::sin(k * phase) / k;
    return sum * (2.0 / kPi);
}

// Zavalishin's topology-preserving state-variable filter: stable for any
// cutoff below Nyquist, even when the cutoff sweeps every sample.
class Filter {
public:
    struct Out {
        double low, band, high;
    };
    Out step(double in, double cutoff, double resonance) {
        const double g = std::tan(kPi * std::min(cutoff, 0.45 * kSampleRate) * kDt);
        const double k = 2.0 - 2.0 * resonance;
        const double high = (in - (k + g) * s1_ - s2_) / (1.0 + g * (k + g));
        const double band = g * high + s1_;
        const double low = g * band + s2_;
        s1_ = g * high + band;
        s2_ = g * band + low;
        return {low, band, high};
    }

private:
    double s1_ = 0.0;
    double s2_ = 0.0;
};

// Fades the ends, scales the peak to kPeak and quantises.
std::vector<std::int16_t> finish(std::vector<double> signal) {
    const std::size_t n = signal.size();
    const std::size_t quiet = sampleCount(kQuietEdge);
    const std::size_t attack = sampleCount(kAttack);
    const std::size_t release = sampleCount(kRelease);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t fromEnd = n - 1 - i;
        double gain = 1.0;
        if (i < quiet || fromEnd < quiet)
            gain = 0.0;
        else if (i < quiet + attack)
            gain = 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i - quiet) / static_cast<double>(attack));
        else if (fromEnd < quiet + release)
            gain = 0.5 - 0.5 * std::cos(kPi * static_cast<double>(fromEnd - quiet) / static_cast<double>(release));
        signal[i] *= gain;
    }
    double peak = 0.0;
    for (double s : signal) peak = std::max(peak, std::abs(s));
    const double scale = peak > 0.0 ? kPeak * 32767.0 / peak : 0.0;
    std::vector<std::int16_t> out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::int16_t>(std::lround(signal[i] * scale));
    return out;
}

// A phase accumulator: keeps the waveform continuous while its frequency
// sweeps, which recomputing sin(2 pi f t) would not.
class Oscillator {
public:
    double advance(double frequency) {
        phase_ = std::fmod(phase_ + kTwoPi * frequency * kDt, kTwoPi);
        return phase_;
    }

private:
    double phase_ = 0.0;
};

double decay(double t, double timeConstant) { return std::exp(-t / timeConstant); }

// Calls `voice` with the time of each sample in turn and finishes the result.
std::vector<std::int16_t> synthesise(double seconds, const std::function<double(double)>& voice) {
    std::vector<double> signal(sampleCount(seconds));
    for (std::size_t i = 0; i < signal.size(); ++i) signal[i] = voice(timeOf(i));
    return finish(std::move(signal));
}

}  // namespace

// A bright laser "pew": two sawtooths a fifth apart diving from high to low,
// a little vibrato, a hiss on the attack, decaying fast.
std::vector<std::int16_t> beamZap() {
    Rng rng(2001);
    Filter hiss;
    Oscillator root;
    Oscillator fifth;
    return synthesise(0.22, [&](double t) {
        const double vibrato = 1.0 + 0.03 * std::sin(kTwoPi * 38.0 * t);
        const double f = (380.0 + 2900.0 * decay(t, 0.045)) * vibrato;
        const double a = root.advance(f);
        const double b = fifth.advance(f * 1.498);
        const double tone = 0.65 * saw(a, f) + 0.35 * std::sin(b) + 0.25 * saw(b, f * 1.498);
        const double noise = hiss.step(rng.signedUnit(), 6500.0, 0.3).high * decay(t, 0.012);
        return tone * decay(t, 0.075) + 0.5 * noise;
    });
}

// A punchy energy burst: a low thump with a falling pitch, a frequency-
// modulated metallic sweep and a band of noise, driven gently into saturation.
std::vector<std::int16_t> energyBurst() {
    Rng rng(2002);
    Filter band;
    Oscillator thumpOsc;
    Oscillator carrier;
    Oscillator modulator;
    return synthesise(0.45, [&](double t) {
        const double thump = std::sin(thumpOsc.advance(48.0 + 190.0 * decay(t, 0.03))) * decay(t, 0.11);

        const double sweep = 260.0 + 1400.0 * decay(t, 0.06);
        const double index = 3.0 * decay(t, 0.09);
        const double m = modulator.advance(sweep * 1.41);
        const double zap = std::sin(carrier.advance(sweep) + index * std::sin(m)) * decay(t, 0.085);

        const double cutoff = 700.0 + 4200.0 * decay(t, 0.07);
        const double noise = band.step(rng.signedUnit(), cutoff, 0.55).band * decay(t, 0.06);

        return std::tanh(1.6 * (0.9 * thump + 0.45 * zap + 1.2 * noise));
    });
}

// A heavy explosion: a low-passed noise roar whose cutoff closes as it dies,
// a sub-bass boom, a second smaller blast and crackling debris.
std::vector<std::int16_t> explosion() {
    Rng rng(2003);
    Filter roar;
    Filter rumble;
    Filter crackleTone;
    Oscillator boomOsc;
    double crackle = 0.0;
    return synthesise(0.95, [&](double t) {
        const double white = rng.signedUnit();
        const double cutoff = 180.0 + 5200.0 * decay(t, 0.12);
        const double roarEnv = decay(t, 0.22) * (1.0 - decay(t, 0.004));
        const double roarLow = roar.step(white, cutoff, 0.2).low;
        const double rumbleLow = rumble.step(white, 120.0, 0.5).low;

        const double boom = std::sin(boomOsc.advance(34.0 + 70.0 * decay(t, 0.08))) * decay(t, 0.25);
        // A second, smaller blast 70 ms in.
        const double late = t - 0.07;
        const double second = late > 0.0 ? decay(late, 0.15) * (1.0 - decay(late, 0.003)) : 0.0;

        // Debris: sparse random clicks, rarer as the blast dies down.
        if (rng.uniform() < 0.004 * decay(t, 0.35)) crackle += rng.signedUnit() * 0.9;
        crackle *= 0.93;
        const double debris = crackleTone.step(crackle, 2500.0, 0.4).band;

        return std::tanh(1.4 * (1.3 * roarLow * (roarEnv + 0.6 * second) + 2.2 * rumbleLow * decay(t, 0.26) +
                                0.8 * boom + 1.2 * debris));
    });
}

bool writeWav(const QString& path, const std::vector<std::int16_t>& samples) {
    QByteArray bytes;
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((v >> (8 * i)) & 0xffu));
    };
    auto put16 = [&](std::uint16_t v) {
        bytes.append(static_cast<char>(v & 0xffu));
        bytes.append(static_cast<char>(v >> 8));
    };
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    bytes.append("RIFF");
    put32(36 + dataSize);
    bytes.append("WAVE");
    bytes.append("fmt ");
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(kSampleRate);
    put32(kSampleRate * 2);  // bytes per second
    put16(2);                // bytes per frame
    put16(16);               // bits per sample
    bytes.append("data");
    put32(dataSize);
    for (std::int16_t s : samples) put16(static_cast<std::uint16_t>(s));

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(bytes) == bytes.size();
}

bool writeSounds(const QString& directory) {
    const QDir dir(directory);
    return writeWav(dir.filePath("Kelvo.WAV"), beamZap()) && writeWav(dir.filePath("EnergyBang.WAV"), energyBurst()) &&
           writeWav(dir.filePath("Destruct.WAV"), explosion());
}

}  // namespace artgen
