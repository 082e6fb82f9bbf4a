// Checks the files under assets/ that the game loads: every picture at its
// stated size with a transparent background and a matching @2x rendering,
// rockets and fire kinds telling apart, the explosion's course, the icon,
// the cursor round its hot spot, and the three WAV files.

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPoint>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

QString assetPath(const QString& relative) { return QDir(QStringLiteral(KELVO_ASSETS_DIR)).filePath(relative); }

QImage loadImage(const QString& relative) {
    QImage image(assetPath(relative));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32);
}

struct PictureSize {
    std::string name;
    int width;
    int height;
};

// The pictures and their sizes at scale 1, as the game lays them out.
std::vector<PictureSize> allPictures() {
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

// Shows the picture's name, not its bytes, in test output.
void PrintTo(const PictureSize& p, std::ostream* os) { *os << p.name << " " << p.width << "x" << p.height; }

// Everything but the explosion frames, which fade to almost nothing.
std::vector<PictureSize> sprites() {
    std::vector<PictureSize> list = allPictures();
    std::erase_if(list, [](const PictureSize& p) { return p.name.rfind("blast", 0) == 0; });
    return list;
}

int countAlphaAtLeast(const QImage& image, int threshold) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= threshold) ++count;
    return count;
}

void expectCornersTransparent(const QImage& image, const std::string& what) {
    const int r = image.width() - 1;
    const int b = image.height() - 1;
    for (const QPoint& corner : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)})
        EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << what << " corner " << corner.x() << "," << corner.y();
}

// ---------------------------------------------------------------- pictures

class Picture : public testing::TestWithParam<PictureSize> {
protected:
    QImage normal() const { return loadImage(QString("pictures/%1.png").arg(GetParam().name.c_str())); }
    QImage doubled() const { return loadImage(QString("pictures/%1@2x.png").arg(GetParam().name.c_str())); }
};

TEST_P(Picture, HasItsSizeAndADoubleSizeTwin) {
    const PictureSize& p = GetParam();
    const QImage one = normal();
    const QImage two = doubled();
    ASSERT_FALSE(one.isNull()) << p.name << ".png missing or unreadable";
    ASSERT_FALSE(two.isNull()) << p.name << "@2x.png missing or unreadable";
    EXPECT_EQ(one.width(), p.width);
    EXPECT_EQ(one.height(), p.height);
    EXPECT_EQ(two.width(), 2 * p.width);
    EXPECT_EQ(two.height(), 2 * p.height);
    EXPECT_TRUE(one.hasAlphaChannel());
}

TEST_P(Picture, CornersAreTransparentAtBothScales) {
    const QImage one = normal();
    const QImage two = doubled();
    ASSERT_FALSE(one.isNull());
    ASSERT_FALSE(two.isNull());
    expectCornersTransparent(one, GetParam().name);
    expectCornersTransparent(two, GetParam().name + "@2x");
}

// The @2x file must be the same drawing at twice the resolution, not another
// picture or an unscaled copy in one corner: its alpha, averaged over 2x2
// blocks, follows the 1x picture's closely.
TEST_P(Picture, DoubleSizeMatchesTheNormalPicture) {
    const QImage one = normal();
    const QImage two = doubled();
    ASSERT_FALSE(one.isNull());
    ASSERT_FALSE(two.isNull());
    ASSERT_EQ(two.size(), one.size() * 2);
    double difference = 0.0;
    double coverage = 0.0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            const int block = qAlpha(two.pixel(2 * x, 2 * y)) + qAlpha(two.pixel(2 * x + 1, 2 * y)) +
                              qAlpha(two.pixel(2 * x, 2 * y + 1)) + qAlpha(two.pixel(2 * x + 1, 2 * y + 1));
            difference += std::abs(block / 4.0 - qAlpha(one.pixel(x, y)));
            coverage += qAlpha(one.pixel(x, y));
        }
    }
    ASSERT_GT(coverage, 0.0) << GetParam().name << " is empty";
    EXPECT_LT(difference / coverage, 0.08) << GetParam().name;
}

// A picture enlarged pixel by pixel has every 2x2 block of one colour; one
// drawn at scale 2 has finer edges and gradients almost everywhere.
TEST_P(Picture, DoubleSizeIsDrawnFinerNotEnlarged) {
    const QImage two = doubled();
    ASSERT_FALSE(two.isNull());
    int blocks = 0;
    int detailed = 0;
    for (int y = 0; y + 1 < two.height(); y += 2) {
        for (int x = 0; x + 1 < two.width(); x += 2) {
            const QRgb a = two.pixel(x, y);
            const QRgb b = two.pixel(x + 1, y);
            const QRgb c = two.pixel(x, y + 1);
            const QRgb d = two.pixel(x + 1, y + 1);
            if (qAlpha(a) + qAlpha(b) + qAlpha(c) + qAlpha(d) == 0) continue;
            ++blocks;
            detailed += (a == b && b == c && c == d) ? 0 : 1;
        }
    }
    ASSERT_GT(blocks, 0);
    EXPECT_GT(detailed * 2, blocks) << GetParam().name << "@2x looks like an enlarged copy";
}

using Sprite = Picture;

TEST_P(Sprite, HasSolidContentOnATransparentBackground) {
    const PictureSize& p = GetParam();
    const QImage one = normal();
    ASSERT_FALSE(one.isNull());
    const int opaque = countAlphaAtLeast(one, 128);
    EXPECT_GE(opaque, one.width() * one.height() * 15 / 100) << p.name << " is mostly empty";
    EXPECT_LT(opaque, one.width() * one.height() * 90 / 100) << p.name << " fills its whole box";
}

INSTANTIATE_TEST_SUITE_P(Assets, Picture, testing::ValuesIn(allPictures()),
                         [](const testing::TestParamInfo<PictureSize>& param) { return param.param.name; });
INSTANTIATE_TEST_SUITE_P(Assets, Sprite, testing::ValuesIn(sprites()),
                         [](const testing::TestParamInfo<PictureSize>& param) { return param.param.name; });

// ---------------------------------------------------------------- missiles

// Share of clearly visible pixels that are not flame-coloured. Flame runs
// from red through orange and yellow to white, always with red >= green >=
// blue; a rocket's metal, paint, outline or plasma trail breaks that.
double nonFlameShare(const QImage& image) {
    int visible = 0;
    int other = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) < 64) continue;
            ++visible;
            if (qGreen(c) > qRed(c) + 1 || qBlue(c) > qGreen(c) + 1) ++other;
        }
    }
    return visible == 0 ? 0.0 : static_cast<double>(other) / visible;
}

TEST(Missiles, RocketsShowMetalAndFireKindsAreOnlyFlame) {
    for (int i = 0; i <= 9; ++i) {
        const QImage image = loadImage(QString("pictures/missile%1.png").arg(i));
        ASSERT_FALSE(image.isNull()) << "missile" << i;
        const double share = nonFlameShare(image);
        if (i <= 5)
            EXPECT_GT(share, 0.2) << "rocket missile" << i << " looks like fire";
        else
            EXPECT_EQ(share, 0.0) << "fire missile" << i << " has non-flame colours";
    }
}

TEST(Missiles, PointDownwards) {
    // Each body's widest opaque row sits in its upper part (fins, flame or
    // the drop's tail is above, the point is below): compare the opaque
    // width of the last rows with the widest row.
    for (int i : {0, 1, 2, 4, 5}) {
        const QImage image = loadImage(QString("pictures/missile%1.png").arg(i));
        ASSERT_FALSE(image.isNull());
        auto opaqueWidth = [&](int y) {
            int w = 0;
            for (int x = 0; x < image.width(); ++x) w += qAlpha(image.pixel(x, y)) >= 128 ? 1 : 0;
            return w;
        };
        int widest = 0;
        for (int y = 0; y < image.height(); ++y) widest = std::max(widest, opaqueWidth(y));
        const int nearTip = opaqueWidth(image.height() - 3);
        EXPECT_LT(nearTip, widest) << "missile" << i << " has no point at the bottom";
    }
}

// ---------------------------------------------------------------- explosion

struct Spread {
    int opaque = 0;
    double centreX = 0.0;
    double centreY = 0.0;
};

Spread spreadOf(const QImage& image) {
    Spread s;
    double weight = 0.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int a = qAlpha(image.pixel(x, y));
            if (a >= 128) ++s.opaque;
            weight += a;
            s.centreX += a * x;
            s.centreY += a * y;
        }
    }
    if (weight > 0.0) {
        s.centreX /= weight;
        s.centreY /= weight;
    }
    return s;
}

class Explosion : public testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 16; ++i) {
            const QImage frame = loadImage(QString::asprintf("pictures/blast%02d.png", i));
            ASSERT_FALSE(frame.isNull()) << "blast" << i;
            frames.push_back(spreadOf(frame));
        }
    }
    std::vector<Spread> frames;
};

TEST_F(Explosion, SwellsFromASparkToAFireballThenThinsToSpecks) {
    const int full = frames[5].opaque;
    EXPECT_GT(full, 100 * 77 / 3) << "frame 5 should fill most of the picture";
    EXPECT_LT(frames[0].opaque * 20, full) << "frame 0 should be a small spark";
    for (int i = 1; i <= 5; ++i)
        EXPECT_GT(frames[static_cast<std::size_t>(i)].opaque, frames[static_cast<std::size_t>(i - 1)].opaque)
            << "frame " << i << " should be larger than the one before";
    EXPECT_LT(frames[15].opaque * 10, full) << "frame 15 should be only a few specks";
    EXPECT_LT(frames[15].opaque, frames[10].opaque);
}

TEST_F(Explosion, SparkStartsLowInTheMiddle) {
    EXPECT_NEAR(frames[0].centreX, 50.0, 10.0);
    EXPECT_GT(frames[0].centreY, 77.0 / 2.0);
}

TEST_F(Explosion, DriftsRightThenTowardsTheUpperRight) {
    for (int i = 6; i <= 9; ++i)
        EXPECT_GT(frames[static_cast<std::size_t>(i)].centreX, frames[static_cast<std::size_t>(i - 1)].centreX)
            << "frame " << i << " should have drifted right";
    EXPECT_GT(frames[13].centreX, frames[5].centreX + 5.0);
    EXPECT_LT(frames[13].centreY, frames[5].centreY - 5.0);
}

// ---------------------------------------------------------------- icon

TEST(Icon, ComesInEverySizeAsARoundDisc) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = loadImage(QString("icon/icon%1.png").arg(size));
        ASSERT_FALSE(icon.isNull()) << "icon" << size;
        EXPECT_EQ(icon.size(), QSize(size, size));
        expectCornersTransparent(icon, "icon" + std::to_string(size));
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << "icon" << size;
        // A disc covers pi/4 of its square.
        const double share = static_cast<double>(countAlphaAtLeast(icon, 128)) / (size * size);
        EXPECT_NEAR(share, 3.14159 / 4.0, 0.08) << "icon" << size;
    }
}

TEST(Icon, IsMottledRedAndYellowInsideAGreyRim) {
    const QImage icon = loadImage("icon/icon256.png");
    ASSERT_FALSE(icon.isNull());
    int red = 0;
    int yellow = 0;
    int inside = 0;
    for (int y = 48; y < 208; ++y) {
        for (int x = 48; x < 208; ++x) {
            const QColor c = QColor::fromRgba(icon.pixel(x, y));
            ++inside;
            if (c.red() > 90 && c.green() < c.red() * 0.45) ++red;
            if (c.red() > 120 && c.green() > c.red() * 0.7 && c.blue() < c.green() * 0.6) ++yellow;
        }
    }
    EXPECT_GT(red, inside / 20) << "no red patches";
    EXPECT_GT(yellow, inside / 20) << "no yellow patches";

    // Just inside the edge, on the left and right, the thin rim is grey.
    for (int x : {4, 251}) {
        const QColor rim = QColor::fromRgba(icon.pixel(x, 128));
        EXPECT_EQ(rim.alpha(), 255);
        EXPECT_LT(std::max({rim.red(), rim.green(), rim.blue()}) - std::min({rim.red(), rim.green(), rim.blue()}), 40)
            << "rim at x=" << x << " is not grey";
    }
}

// ---------------------------------------------------------------- cursor

constexpr QPoint kHotSpot(15, 15);

TEST(Cursor, IsA32PixelPictureWithADoubleSizeTwin) {
    const QImage cursor = loadImage("cursor/cursor.png");
    const QImage doubled = loadImage("cursor/cursor@2x.png");
    ASSERT_FALSE(cursor.isNull());
    ASSERT_FALSE(doubled.isNull());
    EXPECT_EQ(cursor.size(), QSize(32, 32));
    EXPECT_EQ(doubled.size(), QSize(64, 64));
    expectCornersTransparent(cursor, "cursor");
    expectCornersTransparent(doubled, "cursor@2x");
}

TEST(Cursor, RingsAreSymmetricAboutTheHotSpot) {
    const QImage cursor = loadImage("cursor/cursor.png");
    ASSERT_FALSE(cursor.isNull());
    const int c = kHotSpot.x();
    for (int y = 0; y <= 2 * c; ++y) {
        for (int x = 0; x <= 2 * c; ++x) {
            const QRgb here = cursor.pixel(x, y);
            EXPECT_EQ(qAlpha(here), qAlpha(cursor.pixel(2 * c - x, y))) << x << "," << y;
            EXPECT_EQ(qAlpha(here), qAlpha(cursor.pixel(x, 2 * c - y))) << x << "," << y;
            EXPECT_EQ(qAlpha(here), qAlpha(cursor.pixel(y, x))) << x << "," << y;
        }
    }
    // Nothing on the last row and column, which have no mirror image.
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(qAlpha(cursor.pixel(31, i)), 0);
        EXPECT_EQ(qAlpha(cursor.pixel(i, 31)), 0);
    }
}

TEST(Cursor, CentreRingShowsOnAnyBackground) {
    // Within 3 pixels of the hot spot there must be both solid black and
    // solid white pixels: one of them contrasts with whatever is below.
    const QImage cursor = loadImage("cursor/cursor.png");
    ASSERT_FALSE(cursor.isNull());
    int black = 0;
    int white = 0;
    for (int y = kHotSpot.y() - 3; y <= kHotSpot.y() + 3; ++y) {
        for (int x = kHotSpot.x() - 3; x <= kHotSpot.x() + 3; ++x) {
            const QColor p = QColor::fromRgba(cursor.pixel(x, y));
            if (p.alpha() < 250) continue;
            black += p.value() < 40 ? 1 : 0;
            white += p.value() > 215 ? 1 : 0;
        }
    }
    EXPECT_GE(black, 2);
    EXPECT_GE(white, 2);
}

TEST(Cursor, OuterRingIsBlackWithAWhiteRingInside) {
    // Walking down from the top edge towards the hot spot: transparent, then
    // the black ring, then the white ring, then clear space.
    const QImage cursor = loadImage("cursor/cursor.png");
    ASSERT_FALSE(cursor.isNull());
    std::vector<char> seen;
    for (int y = 0; y < kHotSpot.y() - 4; ++y) {
        const QColor p = QColor::fromRgba(cursor.pixel(kHotSpot.x(), y));
        char kind = '.';
        if (p.alpha() >= 250 && p.value() < 40)
            kind = 'b';
        else if (p.alpha() >= 250 && p.value() > 215)
            kind = 'w';
        else if (p.alpha() > 0)
            kind = '~';  // anti-aliased edge
        if (kind != '~' && (seen.empty() || seen.back() != kind)) seen.push_back(kind);
    }
    EXPECT_EQ(std::string(seen.begin(), seen.end()), ".bw.");
}

// ---------------------------------------------------------------- sounds

struct Wav {
    int format = 0;
    int channels = 0;
    int rate = 0;
    int byteRate = 0;
    int blockAlign = 0;
    int bits = 0;
    std::vector<std::int16_t> samples;
};

std::uint32_t le32(const QByteArray& b, qsizetype at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

int le16(const QByteArray& b, qsizetype at) {
    return static_cast<int>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

// Parses a RIFF/WAVE file chunk by chunk; nullopt if the structure is broken
// or the fmt or data chunk is missing.
std::optional<Wav> parseWav(const QByteArray& bytes) {
    if (bytes.size() < 12 || bytes.left(4) != "RIFF" || bytes.mid(8, 4) != "WAVE") return std::nullopt;
    if (le32(bytes, 4) != static_cast<std::uint32_t>(bytes.size() - 8)) return std::nullopt;
    Wav wav;
    bool haveFormat = false;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const auto size = static_cast<qsizetype>(le32(bytes, at + 4));
        const qsizetype body = at + 8;
        if (body + size > bytes.size()) return std::nullopt;
        if (id == "fmt " && size >= 16) {
            wav.format = le16(bytes, body);
            wav.channels = le16(bytes, body + 2);
            wav.rate = static_cast<int>(le32(bytes, body + 4));
            wav.byteRate = static_cast<int>(le32(bytes, body + 8));
            wav.blockAlign = le16(bytes, body + 12);
            wav.bits = le16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            for (qsizetype i = 0; i + 1 < size; i += 2)
                wav.samples.push_back(static_cast<std::int16_t>(le16(bytes, body + i)));
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    if (!haveFormat || !haveData) return std::nullopt;
    return wav;
}

struct ExpectedSound {
    const char* file;
    double minSeconds;
    double maxSeconds;
};

void PrintTo(const ExpectedSound& s, std::ostream* os) { *os << s.file; }

class Sound : public testing::TestWithParam<ExpectedSound> {
protected:
    void SetUp() override {
        QFile file(assetPath(QString("sounds/%1").arg(GetParam().file)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << GetParam().file << " missing";
        const std::optional<Wav> parsed = parseWav(file.readAll());
        ASSERT_TRUE(parsed.has_value()) << GetParam().file << " is not a well-formed WAV file";
        wav = *parsed;
    }
    Wav wav;
};

TEST_P(Sound, Is16BitMonoPcmAt44100) {
    EXPECT_EQ(wav.format, 1);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.rate, 44100);
    EXPECT_EQ(wav.bits, 16);
    EXPECT_EQ(wav.blockAlign, 2);
    EXPECT_EQ(wav.byteRate, 88200);
}

TEST_P(Sound, LastsAsLongAsItsKind) {
    const double seconds = static_cast<double>(wav.samples.size()) / 44100.0;
    EXPECT_GE(seconds, GetParam().minSeconds);
    EXPECT_LE(seconds, GetParam().maxSeconds);
}

TEST_P(Sound, PeaksNearMinusOneDecibel) {
    int peak = 0;
    for (std::int16_t s : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    ASSERT_GT(peak, 0) << "silent";
    const double dbfs = 20.0 * std::log10(peak / 32768.0);
    EXPECT_GE(dbfs, -1.5);
    EXPECT_LE(dbfs, -0.5);
}

TEST_P(Sound, StartsAndEndsInNearSilence) {
    const std::size_t edge = 44100 * 5 / 1000;
    ASSERT_GT(wav.samples.size(), 2 * edge);
    const int limit = 32768 * 5 / 100;
    for (std::size_t i = 0; i < edge; ++i) {
        EXPECT_LT(std::abs(static_cast<int>(wav.samples[i])), limit) << "sample " << i;
        EXPECT_LT(std::abs(static_cast<int>(wav.samples[wav.samples.size() - 1 - i])), limit) << "from end " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Assets, Sound,
                         testing::Values(ExpectedSound{"Kelvo.WAV", 0.15, 0.3},
                                         ExpectedSound{"EnergyBang.WAV", 0.3, 0.6},
                                         ExpectedSound{"Destruct.WAV", 0.6, 1.2}),
                         [](const testing::TestParamInfo<ExpectedSound>& param) {
                             std::string name = param.param.file;
                             return name.substr(0, name.find('.'));
                         });

// The parser itself must reject what is not a WAV file, or the tests above
// would pass on garbage.
TEST(WavParser, RejectsBrokenFiles) {
    EXPECT_FALSE(parseWav(QByteArray("not a wave file at all")).has_value());
    QByteArray truncated("RIFF");
    truncated.append(QByteArray(4, '\0')).append("WAVE").append("fmt ");
    EXPECT_FALSE(parseWav(truncated).has_value());
}

}  // namespace
