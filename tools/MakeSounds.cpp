// Synthesises the game's two sounds as 16-bit mono PCM WAVE files in the folder given on the
// command line: "beep.wav", a short soft beep for feedback, and "punteggio.wav", a short bright
// chime for a caught ball. The samples are computed, never random, so every run writes the same
// files.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int sampleRate = 16000;

void PutLittleEndian(std::vector<unsigned char>& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::vector<unsigned char> WaveFile(const std::vector<double>& samples)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<unsigned char> bytes;
    const auto tag = [&](const char* text) { bytes.insert(bytes.end(), text, text + 4); };
    tag("RIFF");
    PutLittleEndian(bytes, 36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    PutLittleEndian(bytes, 16, 4);              // format chunk size
    PutLittleEndian(bytes, 1, 2);               // PCM
    PutLittleEndian(bytes, 1, 2);               // mono
    PutLittleEndian(bytes, sampleRate, 4);
    PutLittleEndian(bytes, sampleRate * 2, 4);  // bytes per second
    PutLittleEndian(bytes, 2, 2);               // bytes per frame
    PutLittleEndian(bytes, 16, 2);              // bits per sample
    tag("data");
    PutLittleEndian(bytes, dataBytes, 4);
    for (double sample : samples) {
        const auto value = static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0, 1.0) * 32767));
        PutLittleEndian(bytes, static_cast<std::uint16_t>(value), 2);
    }
    return bytes;
}

double Sine(double frequency, double time) { return std::sin(2 * std::numbers::pi * frequency * time); }

// Raised-cosine fades at both ends keep the sound from clicking when it starts and stops.
double Fade(double time, double length, double fadeIn, double fadeOut)
{
    double gain = 1;
    if (time < fadeIn) gain *= 0.5 - 0.5 * std::cos(std::numbers::pi * time / fadeIn);
    if (time > length - fadeOut) gain *= 0.5 - 0.5 * std::cos(std::numbers::pi * (length - time) / fadeOut);
    return gain;
}

// A round sine tone with a touch of its octave, quiet and gently shaped.
std::vector<double> Beep()
{
    const double length = 0.11, frequency = 784;  // G5
    std::vector<double> samples(static_cast<std::size_t>(length * sampleRate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double time = static_cast<double>(i) / sampleRate;
        const double tone = 0.9 * Sine(frequency, time) + 0.1 * Sine(2 * frequency, time);
        samples[i] = 0.3 * tone * Fade(time, length, 0.008, 0.05);
    }
    return samples;
}

// Two rising bell notes, B5 then E6, each struck and left to ring with bright upper partials.
std::vector<double> Chime()
{
    const double length = 0.3;
    struct Note {
        double start, frequency;
    };
    const Note notes[] = {{0.0, 987.77}, {0.075, 1318.51}};
    std::vector<double> samples(static_cast<std::size_t>(length * sampleRate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double time = static_cast<double>(i) / sampleRate;
        double sum = 0;
        for (const Note& note : notes) {
            const double t = time - note.start;
            if (t < 0) continue;
            const double strike = std::min(1.0, t / 0.003);
            // The upper partials die away faster, so the note starts bright and ends round.
            sum += strike * (0.6 * Sine(note.frequency, t) * std::exp(-t * 9) +
                             0.25 * Sine(2 * note.frequency, t) * std::exp(-t * 16) +
                             0.12 * Sine(3 * note.frequency, t) * std::exp(-t * 24));
        }
        samples[i] = 0.5 * sum * Fade(time, length, 0.001, 0.04);
    }
    return samples;
}

bool Write(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::perror(path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::perror(path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const bool beep = Write(folder + "/beep.wav", WaveFile(Beep()));
    const bool chime = Write(folder + "/punteggio.wav", WaveFile(Chime()));
    return beep && chime ? 0 : 1;
}
