#include <QFile>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct Wave {
    std::uint32_t riffSize = 0;
    std::uint32_t formatSize = 0;
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    bool hasFact = false;
    std::uint32_t factSamples = 0;
    std::uint32_t dataSize = 0;
    std::int32_t peak = 0;
    std::int32_t last = 0;
};

std::uint32_t Le(const QByteArray& b, qsizetype at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(b[at + i]);
    return value;
}

// Walks the chunks of a RIFF WAVE image.
Wave Read(const QByteArray& b)
{
    Wave w;
    EXPECT_EQ(b.left(4), "RIFF");
    EXPECT_EQ(b.mid(8, 4), "WAVE");
    w.riffSize = Le(b, 4, 4);
    for (qsizetype at = 12; at + 8 <= b.size();) {
        const QByteArray id = b.mid(at, 4);
        const std::uint32_t size = Le(b, at + 4, 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            w.formatSize = size;
            w.formatTag = static_cast<std::uint16_t>(Le(b, body, 2));
            w.channels = static_cast<std::uint16_t>(Le(b, body + 2, 2));
            w.sampleRate = Le(b, body + 4, 4);
            w.byteRate = Le(b, body + 8, 4);
            w.blockAlign = static_cast<std::uint16_t>(Le(b, body + 12, 2));
            w.bitsPerSample = static_cast<std::uint16_t>(Le(b, body + 14, 2));
        } else if (id == "fact") {
            w.hasFact = true;
            w.factSamples = Le(b, body, 4);
        } else if (id == "data") {
            w.dataSize = size;
            for (qsizetype s = body; s + 1 < body + size; s += 2) {
                const auto sample = static_cast<std::int16_t>(Le(b, s, 2));
                w.peak = std::max<std::int32_t>(w.peak, std::abs(sample));
                w.last = sample;
            }
        }
        at = body + size + (size & 1);
    }
    return w;
}

QByteArray Clip(int number)
{
    QFile file(QString(":/clip%1.wav").arg(number));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << number;
    return file.readAll();
}

TEST(SoundClips, MonoPcmImagesOfTheirExactSizes)
{
    struct Expected {
        int number;
        int size;
        std::uint32_t formatSize;
        bool fact;
        std::uint32_t dataSize;
    };
    for (const Expected& clip : {Expected{500, 244, 18, true, 186}, Expected{501, 2616, 16, false, 2572}}) {
        const QByteArray bytes = Clip(clip.number);
        ASSERT_EQ(bytes.size(), clip.size) << clip.number;
        const Wave w = Read(bytes);
        EXPECT_EQ(w.riffSize, static_cast<std::uint32_t>(clip.size - 8));
        EXPECT_EQ(w.formatSize, clip.formatSize);
        EXPECT_EQ(w.formatTag, 1) << "PCM";
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.sampleRate, 22050u);
        EXPECT_EQ(w.byteRate, 44100u);
        EXPECT_EQ(w.blockAlign, 2);
        EXPECT_EQ(w.bitsPerSample, 16);
        EXPECT_EQ(w.hasFact, clip.fact);
        if (clip.fact) {
            EXPECT_EQ(w.factSamples, clip.dataSize / 2);
        }
        EXPECT_EQ(w.dataSize, clip.dataSize);
        EXPECT_GT(w.peak, 8000) << "audible";
        EXPECT_LT(w.peak, 32767) << "not clipped";
        EXPECT_LT(std::abs(w.last), 200) << "fades out instead of stopping with a click";
    }
}

}  // namespace
