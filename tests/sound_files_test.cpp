// The sound back end and the files it is given: a well-formed PCM WAV file
// plays; a missing, empty, truncated, lying or foreign one is silence and never
// reaches the player (nor Qt Multimedia, which would keep what it failed to
// read for good). Here the player's process is a shell that keeps the lines it
// is sent; the player's own side is tried in this process.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/SoundPlayer.h"

namespace {

using platform::qt::QtSound;
using platform::qt::SoundPlayer;

QByteArray Le(std::uint32_t v, int bytes) {
    QByteArray b;
    for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
    return b;
}

QByteArray Chunk(const char* id, const QByteArray& body) {
    const QByteArray pad = body.size() % 2 ? QByteArray(1, '\0') : QByteArray();
    return QByteArray(id, 4) + Le(static_cast<std::uint32_t>(body.size()), 4) + body + pad;
}

QByteArray Riff(const QByteArray& chunks) {
    return "RIFF" + Le(static_cast<std::uint32_t>(chunks.size() + 4), 4) + "WAVE" + chunks;
}

QByteArray Format(int tag, int channels, int bits, std::uint32_t rate = 22050) {
    const auto frame = static_cast<std::uint32_t>(channels * bits / 8);
    return Chunk("fmt ", Le(static_cast<std::uint32_t>(tag), 2) + Le(static_cast<std::uint32_t>(channels), 2) +
                             Le(rate, 4) + Le(rate * frame, 4) + Le(frame, 2) +
                             Le(static_cast<std::uint32_t>(bits), 2));
}

QByteArray Silence(int frames, int channels = 1, int bits = 16) {
    return Chunk("data", QByteArray(frames * channels * bits / 8, bits == 8 ? '\x80' : '\0'));
}

// Two seconds: still playing when the player is asked, however busy the machine.
QByteArray Wav(int tag = 1, int channels = 1, int bits = 16) {
    return Riff(Format(tag, channels, bits) + Silence(44100, channels, bits));
}

QByteArray Noise(int bytes) {
    std::mt19937 random(108);
    QByteArray b;
    for (int i = 0; i < bytes; ++i) b += static_cast<char>(random() & 0xFF);
    return b;
}

struct SoundFiles : ::testing::Test {
    kelvo::test::GameHarness h;  // the application Qt Multimedia needs
    QTemporaryDir dir;
    const QString sent = dir.filePath(QStringLiteral("sent"));
    QtSound sound{{"/bin/sh", "-c", "exec cat >\"$0\"", sent.toStdString()}};
    SoundPlayer player;

    // Writes the file (none at all for nullopt) and gives its path.
    std::string File(const char* name, const std::optional<QByteArray>& bytes) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile file(path);
        if (bytes && !(file.open(QIODevice::WriteOnly) && file.write(*bytes) == bytes->size())) ADD_FAILURE() << name;
        return path.toStdString();
    }

    // The lines the player was sent, once there are COUNT (ten seconds at most).
    QByteArrayList Sent(int count) {
        QByteArray lines;
        for (int i = 0; i < 1000 && lines.count('\n') < count; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            QFile file(sent);
            lines = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }
        return lines.split('\n');
    }
};

TEST_F(SoundFiles, PcmFilesOfEightAndSixteenBitsPlayAndARepeatStartsTheSameSoundAgain) {
    const std::string mono = File("mono16.wav", Wav());
    const std::string stereo = File("stereo8.wav", Riff(Format(1, 2, 8) + Chunk("LIST", "x") + Silence(44100, 2, 8)));
    sound.play(mono);
    sound.play(stereo);
    EXPECT_EQ(Sent(2), QByteArrayList({mono.c_str(), stereo.c_str(), ""}));
    player.take(mono);
    player.take(mono);
    EXPECT_EQ(player.playing(), 1);
    EXPECT_EQ(player.handedOver(), 1);
    player.take(stereo);
    EXPECT_EQ(player.playing(), 1);
    EXPECT_EQ(player.handedOver(), 2);
    player.take("");
    EXPECT_EQ(player.playing(), 0);
}

struct BadFile {
    const char* name;
    std::optional<QByteArray> bytes;
};
void PrintTo(const BadFile& f, std::ostream* os) { *os << f.name; }

struct BadSoundFile : SoundFiles, ::testing::WithParamInterface<BadFile> {};

TEST_P(BadSoundFile, IsSilenceStopsWhatPlaysAndNeverReachesThePlayer) {
    const std::string good = File("good.wav", Wav());
    sound.play(good);
    const std::string bad = File(GetParam().name, GetParam().bytes);
    sound.play(bad);
    sound.play(bad);
    EXPECT_EQ(Sent(3), QByteArrayList({good.c_str(), "", "", ""}));
}

std::vector<BadFile> BadFiles() {
    const QByteArray wav = Wav();
    return {
        {"Missing", std::nullopt},
        {"Empty", QByteArray()},
        {"CutInTheSamples", wav.left(wav.size() / 2)},  // the RIFF size promises more than there is
        {"DataSizeBeyondTheFile", Riff(Format(1, 1, 16) + "data" + Le(100000, 4) + QByteArray(4410, '\0'))},
        {"RandomBytes", Noise(4096)},
        {"NoDataChunk", Riff(Format(1, 1, 16))},
        {"NoSamples", Riff(Format(1, 1, 16) + Silence(0))},
        {"DataBeforeFormat", Riff(Silence(2205) + Format(1, 1, 16))},
        {"FloatSamples", Wav(3, 1, 32)},
        {"Adpcm", Wav(2, 1, 4)},
        {"TwentyFourBits", Wav(1, 1, 24)},
        {"SixChannels", Wav(1, 6, 16)},
        {"NoChannels", Riff(Format(1, 0, 16) + Silence(2205))},
        {"NoSampleRate", Riff(Format(1, 1, 16, 0) + Silence(2205))},
    };
}

INSTANTIATE_TEST_SUITE_P(Sound, BadSoundFile, ::testing::ValuesIn(BadFiles()),
                         [](const ::testing::TestParamInfo<BadFile>& param) { return std::string(param.param.name); });

}  // namespace
