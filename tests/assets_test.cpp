// Checks the files under assets/ that the game loads: every picture at the
// size the layout counts on, on a transparent background, with a finer @2x
// twin; rockets and fire telling apart; the explosion's course; the icon; the
// cursor round its hot spot; and the three WAV files.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

QImage Load(const QString& relative) {
    QImage image(QDir(QStringLiteral(KELVO_ASSETS_DIR)).filePath(relative));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32);
}

int Opaque(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) >= 128 ? 1 : 0;
    return n;
}

bool CornersClear(const QImage& image) {
    const int r = image.width() - 1, b = image.height() - 1;
    return qAlpha(image.pixel(0, 0)) == 0 && qAlpha(image.pixel(r, 0)) == 0 && qAlpha(image.pixel(0, b)) == 0 &&
           qAlpha(image.pixel(r, b)) == 0;
}

struct PictureSize {
    std::string name;
    int width, height;
};
void PrintTo(const PictureSize& p, std::ostream* os) { *os << p.name; }

std::vector<PictureSize> AllPictures() {
    std::vector<PictureSize> list = {
        {"ship0", 64, 40},      {"ship1", 60, 45},      {"ship2", 64, 45},    {"ship3", 60, 34},
        {"ship4", 64, 48},      {"ship5", 64, 48},      {"ship6", 64, 48},    {"ship7", 64, 48},
        {"ship8", 64, 48},      {"missile0", 5, 28},    {"missile1", 6, 28},  {"missile2", 5, 29},
        {"missile3", 24, 59},   {"missile4", 11, 42},   {"missile5", 13, 47}, {"missile6", 15, 25},
        {"missile7", 30, 30},   {"missile8", 24, 79},   {"missile9", 14, 30}, {"satellite1", 24, 25},
        {"satellite2", 64, 48}, {"satellite3", 64, 48},
    };
    for (int i = 0; i < 16; ++i) list.push_back({QString::asprintf("blast%02d", i).toStdString(), 100, 77});
    return list;
}

class Picture : public testing::TestWithParam<PictureSize> {};

// The @2x twin is the same drawing at twice the resolution: its alpha,
// averaged over 2x2 blocks, follows the 1x picture's closely, yet most of its
// blocks have finer detail than an enlarged copy would.
TEST_P(Picture, HasItsSizeOnATransparentBackgroundAndAFinerDoubleSizeTwin) {
    const PictureSize& p = GetParam();
    const QImage one = Load(QString("pictures/%1.png").arg(p.name.c_str()));
    const QImage two = Load(QString("pictures/%1@2x.png").arg(p.name.c_str()));
    ASSERT_EQ(one.size(), QSize(p.width, p.height));
    ASSERT_EQ(two.size(), QSize(2 * p.width, 2 * p.height));
    EXPECT_TRUE(CornersClear(one) && CornersClear(two));
    double difference = 0, coverage = 0;
    int blocks = 0, detailed = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            const QRgb a = two.pixel(2 * x, 2 * y), b = two.pixel(2 * x + 1, 2 * y), c = two.pixel(2 * x, 2 * y + 1),
                       d = two.pixel(2 * x + 1, 2 * y + 1);
            const int block = qAlpha(a) + qAlpha(b) + qAlpha(c) + qAlpha(d);
            difference += std::abs(block / 4.0 - qAlpha(one.pixel(x, y)));
            coverage += qAlpha(one.pixel(x, y));
            blocks += block > 0 ? 1 : 0;
            detailed += block > 0 && !(a == b && b == c && c == d) ? 1 : 0;
        }
    ASSERT_GT(coverage, 0.0);
    EXPECT_LT(difference / coverage, 0.08);
    EXPECT_GT(detailed * 2, blocks) << "looks like an enlarged copy";
    if (p.name.rfind("blast", 0) != 0) {  // sprites are solid shapes, not their whole box
        EXPECT_GE(Opaque(one), p.width * p.height * 15 / 100);
        EXPECT_LT(Opaque(one), p.width * p.height * 90 / 100);
    }
}

INSTANTIATE_TEST_SUITE_P(Assets, Picture, testing::ValuesIn(AllPictures()),
                         [](const testing::TestParamInfo<PictureSize>& param) { return param.param.name; });

// The beam brings down the six rockets but not the four fires: they must look
// it. Flame runs from red through yellow to white with red >= green >= blue.
TEST(Missiles, RocketsShowMetalAndFiresOnlyFlame) {
    for (int i = 0; i <= 9; ++i) {
        const QImage image = Load(QString("pictures/missile%1.png").arg(i));
        int visible = 0, other = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                if (qAlpha(c) < 64) continue;
                ++visible;
                other += qGreen(c) > qRed(c) + 1 || qBlue(c) > qGreen(c) + 1 ? 1 : 0;
            }
        ASSERT_GT(visible, 0) << i;
        if (i <= 5)
            EXPECT_GT(other * 5, visible) << "rocket " << i << " looks like fire";
        else
            EXPECT_EQ(other, 0) << "fire " << i << " has non-flame colours";
    }
}

TEST(Explosion, SwellsFromASparkToAFireballThenThinsToSpecks) {
    std::vector<int> opaque;
    for (int i = 0; i < 16; ++i) opaque.push_back(Opaque(Load(QString::asprintf("pictures/blast%02d.png", i))));
    EXPECT_GT(opaque[5], 100 * 77 / 3);
    EXPECT_LT(opaque[0] * 20, opaque[5]);
    EXPECT_TRUE(std::is_sorted(opaque.begin(), opaque.begin() + 6));
    EXPECT_LT(opaque[15] * 10, opaque[5]);
}

TEST(Icon, ComesInEverySizeAsARoundDisc) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = Load(QString("icon/icon%1.png").arg(size));
        ASSERT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(CornersClear(icon));
        EXPECT_NEAR(static_cast<double>(Opaque(icon)) / (size * size), 3.14159 / 4.0, 0.08) << size;
    }
}

// The hot spot at (15, 15) is the centre of the rings: the picture is
// symmetric about it, and black and white pixels near it show on any ground.
TEST(Cursor, RingsCentreOnTheHotSpotAndShowOnAnyBackground) {
    const QImage cursor = Load("cursor/cursor.png");
    ASSERT_EQ(cursor.size(), QSize(32, 32));
    EXPECT_EQ(Load("cursor/cursor@2x.png").size(), QSize(64, 64));
    int black = 0, white = 0;
    for (int y = 0; y <= 30; ++y)
        for (int x = 0; x <= 30; ++x) {
            EXPECT_EQ(qAlpha(cursor.pixel(x, y)), qAlpha(cursor.pixel(30 - x, 30 - y))) << x << "," << y;
            const QColor p = QColor::fromRgba(cursor.pixel(x, y));
            if (std::abs(x - 15) > 3 || std::abs(y - 15) > 3 || p.alpha() < 250) continue;
            black += p.value() < 40 ? 1 : 0;
            white += p.value() > 215 ? 1 : 0;
        }
    EXPECT_TRUE(black >= 2 && white >= 2);
}

// ---------------------------------------------------------------- sounds

struct Wav {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<std::int16_t> samples;
};

int Le(const QByteArray& b, qsizetype at, int bytes) {
    int v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// A RIFF/WAVE file read chunk by chunk; nullopt if broken or without fmt or data.
std::optional<Wav> ParseWav(const QByteArray& bytes) {
    if (bytes.size() < 12 || bytes.left(4) != "RIFF" || bytes.mid(8, 4) != "WAVE") return std::nullopt;
    if (Le(bytes, 4, 4) != bytes.size() - 8) return std::nullopt;
    Wav wav;
    bool format = false, data = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const qsizetype size = Le(bytes, at + 4, 4), body = at + 8;
        if (size < 0 || body + size > bytes.size()) return std::nullopt;
        if (bytes.mid(at, 4) == "fmt " && size >= 16) {
            wav.format = Le(bytes, body, 2);
            wav.channels = Le(bytes, body + 2, 2);
            wav.rate = Le(bytes, body + 4, 4);
            wav.bits = Le(bytes, body + 14, 2);
            format = true;
        } else if (bytes.mid(at, 4) == "data") {
            for (qsizetype i = 0; i + 1 < size; i += 2)
                wav.samples.push_back(static_cast<std::int16_t>(Le(bytes, body + i, 2)));
            data = true;
        }
        at = body + size + (size & 1);
    }
    return format && data ? std::optional<Wav>(wav) : std::nullopt;
}

struct ExpectedSound {
    const char* file;
    double minSeconds, maxSeconds;
};
void PrintTo(const ExpectedSound& s, std::ostream* os) { *os << s.file; }

class Sound : public testing::TestWithParam<ExpectedSound> {};

TEST_P(Sound, IsAShortMonoPcmEffectPeakingNearMinusOneDecibelFromSilenceToSilence) {
    QFile file(QDir(QStringLiteral(KELVO_ASSETS_DIR)).filePath(QString("sounds/%1").arg(GetParam().file)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::optional<Wav> wav = ParseWav(file.readAll());
    ASSERT_TRUE(wav.has_value()) << "not a well-formed WAV file";
    EXPECT_TRUE(wav->format == 1 && wav->channels == 1 && wav->rate == 44100 && wav->bits == 16);
    const double seconds = static_cast<double>(wav->samples.size()) / 44100.0;
    EXPECT_TRUE(seconds >= GetParam().minSeconds && seconds <= GetParam().maxSeconds) << seconds;
    int peak = 0;
    for (std::int16_t s : wav->samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    const double dbfs = 20.0 * std::log10(std::max(peak, 1) / 32768.0);
    EXPECT_TRUE(dbfs >= -1.5 && dbfs <= -0.5) << dbfs;
    const std::size_t edge = 44100 * 5 / 1000;  // 5 ms at each end
    for (std::size_t i = 0; i < edge; ++i) {
        EXPECT_LT(std::abs(wav->samples[i]), 32768 / 20) << "sample " << i;
        EXPECT_LT(std::abs(wav->samples[wav->samples.size() - 1 - i]), 32768 / 20) << "from the end " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Assets, Sound,
                         testing::Values(ExpectedSound{"Kelvo.WAV", 0.15, 0.3},
                                         ExpectedSound{"EnergyBang.WAV", 0.3, 0.6},
                                         ExpectedSound{"Destruct.WAV", 0.6, 1.2}),
                         [](const testing::TestParamInfo<ExpectedSound>& param) {
                             const std::string name = param.param.file;
                             return name.substr(0, name.find('.'));
                         });

// The reader must refuse what is not a WAV file, or the checks above would pass on garbage.
TEST(WavReader, RefusesBrokenFiles) {
    EXPECT_FALSE(ParseWav(QByteArray("not a wave file at all")).has_value());
    EXPECT_FALSE(ParseWav(QByteArray("RIFF\x04\0\0\0WAVE", 12)).has_value());
}

}  // namespace
