// Synthesises the game's two short sound clips so no third-party audio is needed.
// Usage: clip_synth OUTPUT_DIR

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kSampleRate = 22050;
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
constexpr std::uint32_t kByteRate = kSampleRate * kBlockAlign;
constexpr std::uint16_t kFormatPcm = 1;
constexpr double kFullScale = 32767.0;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

using Signal = std::vector<double>;
using Bytes = std::vector<std::uint8_t>;

// Fixed seed keeps the snap identical on every build.
class XorShift32 {
public:
    explicit XorShift32(std::uint32_t seed) : state_(seed) {}

    // Uniform in [-1, 1).
    double Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state_;
};

double DbfsToGain(double dbfs)
{
    return std::pow(10.0, dbfs / 20.0);
}

double SineAt(double frequency, std::size_t index)
{
    return std::sin(kTwoPi * frequency * static_cast<double>(index) / kSampleRate);
}

// Raised-cosine ramps at both ends so the clip neither starts nor stops with a pop.
void ApplyEdgeFades(Signal& signal, std::size_t attackSamples, std::size_t releaseSamples)
{
    const std::size_t size = signal.size();
    for (std::size_t i = 0; i < attackSamples && i < size; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(attackSamples);
        signal[i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * t);
    }
    for (std::size_t i = 0; i < releaseSamples && i < size; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(releaseSamples);
        signal[size - 1 - i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * t);
    }
}

void NormalisePeak(Signal& signal, double peakDbfs)
{
    double peak = 0.0;
    for (double s : signal)
        peak = std::max(peak, std::abs(s));
    if (peak == 0.0)
        return;
    const double scale = DbfsToGain(peakDbfs) / peak;
    for (double& s : signal)
        s *= scale;
}

Signal SynthSnap()
{
    constexpr std::size_t kSamples = 93;
    constexpr double kDecaySeconds = 0.0007;
    constexpr double kPartialHz = 5200.0;
    constexpr double kNoiseMix = 0.7;
    constexpr double kPartialMix = 0.3;
    constexpr std::uint32_t kSeed = 0x5EEDCA7Du;
    constexpr double kPeakDbfs = -6.0;

    XorShift32 noise(kSeed);
    Signal signal(kSamples);
    double previousNoise = 0.0;
    for (std::size_t i = 0; i < kSamples; ++i) {
        const double seconds = static_cast<double>(i) / kSampleRate;
        const double envelope = std::exp(-seconds / kDecaySeconds);
        // First difference tilts the noise towards the treble, which reads as "crisp".
        const double white = noise.Next();
        const double bright = white - previousNoise;
        previousNoise = white;
        signal[i] = envelope * (kNoiseMix * bright + kPartialMix * SineAt(kPartialHz, i));
    }
    ApplyEdgeFades(signal, 4, 20);
    NormalisePeak(signal, kPeakDbfs);
    return signal;
}

Signal SynthTick()
{
    constexpr std::size_t kSamples = 1286;
    constexpr double kFundamentalHz = 1480.0;
    constexpr double kHarmonicMix = 0.18;
    constexpr double kDecaySeconds = 0.011;
    constexpr std::size_t kAttackSamples = 33;
    constexpr std::size_t kReleaseSamples = 220;
    constexpr double kPeakDbfs = -8.0;

    Signal signal(kSamples);
    for (std::size_t i = 0; i < kSamples; ++i) {
        const double seconds = static_cast<double>(i) / kSampleRate;
        const double envelope = std::exp(-seconds / kDecaySeconds);
        signal[i] = envelope * (SineAt(kFundamentalHz, i) + kHarmonicMix * SineAt(2.0 * kFundamentalHz, i));
    }
    ApplyEdgeFades(signal, kAttackSamples, kReleaseSamples);
    NormalisePeak(signal, kPeakDbfs);
    return signal;
}

void PutU16(Bytes& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(Bytes& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFu));
}

void PutTag(Bytes& out, const char (&tag)[5])
{
    out.insert(out.end(), tag, tag + 4);
}

std::int16_t ToPcm16(double sample)
{
    const double scaled = std::clamp(sample * kFullScale, -32768.0, kFullScale);
    return static_cast<std::int16_t>(std::lround(scaled));
}

// Both forms are valid PCM WAVE; which one a clip uses sets its fixed size.
enum class WavLayout { Classic, ExtendedWithFact };

Bytes EncodeWav(const Signal& signal, WavLayout layout)
{
    const bool extended = layout == WavLayout::ExtendedWithFact;
    const auto sampleCount = static_cast<std::uint32_t>(signal.size());
    const std::uint32_t dataBytes = sampleCount * kBlockAlign;
    const std::uint32_t fmtBytes = extended ? 18 : 16;
    const std::uint32_t factChunkBytes = extended ? 8 + 4 : 0;
    const std::uint32_t riffBytes = 4 + (8 + fmtBytes) + factChunkBytes + (8 + dataBytes);

    Bytes out;
    PutTag(out, "RIFF");
    PutU32(out, riffBytes);
    PutTag(out, "WAVE");

    PutTag(out, "fmt ");
    PutU32(out, fmtBytes);
    PutU16(out, kFormatPcm);
    PutU16(out, kChannels);
    PutU32(out, kSampleRate);
    PutU32(out, kByteRate);
    PutU16(out, kBlockAlign);
    PutU16(out, kBitsPerSample);
    if (extended) {
        PutU16(out, 0);  // cbSize: no extra format bytes
        PutTag(out, "fact");
        PutU32(out, 4);
        PutU32(out, sampleCount);
    }

    PutTag(out, "data");
    PutU32(out, dataBytes);
    for (double sample : signal)
        PutU16(out, static_cast<std::uint16_t>(ToPcm16(sample)));
    return out;
}

bool WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " OUTPUT_DIR\n";
        return EXIT_FAILURE;
    }
    const std::filesystem::path dir = argv[1];

    const bool ok = WriteFile(dir / "clip500.wav", EncodeWav(SynthSnap(), WavLayout::ExtendedWithFact))
        && WriteFile(dir / "clip501.wav", EncodeWav(SynthTick(), WavLayout::Classic));
    if (!ok) {
        std::cerr << "clip_synth: cannot write clips into " << dir << '\n';
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
