// Checks the files under assets/ that the game loads, for what the game counts
// on: every picture at the size the layout and the hit boxes use, on a
// transparent background, with its @2x twin; the icon sizes; the cursor round
// its hot spot; and the three WAV files in the format the sound plays.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdint>
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

TEST_P(Picture, HasItsSizeOnATransparentBackgroundAndADoubleSizeTwin) {
    const PictureSize& p = GetParam();
    const QImage one = Load(QString("pictures/%1.png").arg(p.name.c_str()));
    const QImage two = Load(QString("pictures/%1@2x.png").arg(p.name.c_str()));
    ASSERT_EQ(one.size(), QSize(p.width, p.height));
    ASSERT_EQ(two.size(), QSize(2 * p.width, 2 * p.height));
    EXPECT_TRUE(CornersClear(one) && CornersClear(two));
    EXPECT_GT(Opaque(one), 0);
}

INSTANTIATE_TEST_SUITE_P(Assets, Picture, testing::ValuesIn(AllPictures()),
                         [](const testing::TestParamInfo<PictureSize>& param) { return param.param.name; });

TEST(Icon, ComesInEverySizeTheDesktopAsksFor) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = Load(QString("icon/icon%1.png").arg(size));
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(!icon.isNull() && CornersClear(icon)) << size;
    }
}

// The hot spot at (15, 15) is the centre of the rings: the picture is
// symmetric about it.
TEST(Cursor, RingsCentreOnTheHotSpot) {
    const QImage cursor = Load("cursor/cursor.png");
    ASSERT_EQ(cursor.size(), QSize(32, 32));
    EXPECT_EQ(Load("cursor/cursor@2x.png").size(), QSize(64, 64));
    for (int y = 0; y <= 30; ++y)
        for (int x = 0; x <= 30; ++x)
            ASSERT_EQ(qAlpha(cursor.pixel(x, y)), qAlpha(cursor.pixel(30 - x, 30 - y))) << x << "," << y;
}

// ---------------------------------------------------------------- sounds

std::uint32_t Le(const QByteArray& b, qsizetype at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// Mono 16-bit PCM at 44.1 kHz, as written: a RIFF header, "fmt " and then
// "data" to the end of the file, of a length that fits the effect.
struct ExpectedSound {
    const char* file;
    double minSeconds, maxSeconds;
};
void PrintTo(const ExpectedSound& s, std::ostream* os) { *os << s.file; }

class Sound : public testing::TestWithParam<ExpectedSound> {};

TEST_P(Sound, IsAShortMonoPcmEffect) {
    QFile file(QDir(QStringLiteral(KELVO_ASSETS_DIR)).filePath(QString("sounds/%1").arg(GetParam().file)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray b = file.readAll();
    ASSERT_GE(b.size(), 44);
    EXPECT_TRUE(b.left(4) == "RIFF" && b.mid(8, 8) == "WAVEfmt " && b.mid(36, 4) == "data");
    EXPECT_EQ(Le(b, 4, 4), static_cast<std::uint32_t>(b.size() - 8));
    EXPECT_EQ(Le(b, 40, 4), static_cast<std::uint32_t>(b.size() - 44));
    // format 1 (PCM), one channel, 44100 per second, 16 bits
    EXPECT_TRUE(Le(b, 20, 2) == 1 && Le(b, 22, 2) == 1 && Le(b, 24, 4) == 44100 && Le(b, 34, 2) == 16);
    const double seconds = static_cast<double>(b.size() - 44) / 2 / 44100.0;
    EXPECT_TRUE(seconds >= GetParam().minSeconds && seconds <= GetParam().maxSeconds) << seconds;
}

INSTANTIATE_TEST_SUITE_P(Assets, Sound,
                         testing::Values(ExpectedSound{"Kelvo.WAV", 0.15, 0.3},
                                         ExpectedSound{"EnergyBang.WAV", 0.3, 0.6},
                                         ExpectedSound{"Destruct.WAV", 0.6, 1.2}),
                         [](const testing::TestParamInfo<ExpectedSound>& param) {
                             const std::string name = param.param.file;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
