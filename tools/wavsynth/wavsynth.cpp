// Synthesises the program's six sound effects as 16-bit mono WAV files, so that the program
// folder ships sounds made for it and nothing taken from elsewhere.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

struct Note {
    double startHz;
    double endHz; // a glide from startHz to endHz
    double seconds;
    double volume;
    double noise = 0.0; // share of white noise mixed into the tone
};

void appendNote(std::vector<int16_t>& out, const Note& n, std::mt19937& rng) {
    std::uniform_real_distribution<double> white(-1.0, 1.0);
    const int count = int(n.seconds * kRate);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / count;
        const double hz = n.startHz + (n.endHz - n.startHz) * t;
        phase += 2.0 * kPi * hz / kRate;
        // A short attack and an exponential release keep the edges free of clicks.
        const double attack = std::min(1.0, i / (0.005 * kRate));
        const double envelope = attack * std::exp(-4.0 * t);
        const double tone = std::sin(phase) * (1.0 - n.noise) + white(rng) * n.noise;
        out.push_back(int16_t(std::lround(tone * envelope * n.volume * 32767.0)));
    }
}

void put32(std::ofstream& f, uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); }
void put16(std::ofstream& f, uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); }

bool writeWav(const std::string& path, const std::vector<int16_t>& samples) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f)
        return false;
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    f.write("RIFF", 4);
    put32(f, 36 + dataBytes);
    f.write("WAVEfmt ", 8);
    put32(f, 16);
    put16(f, 1); // PCM
    put16(f, 1); // mono
    put32(f, kRate);
    put32(f, kRate * 2);
    put16(f, 2);
    put16(f, 16);
    f.write("data", 4);
    put32(f, dataBytes);
    f.write(reinterpret_cast<const char*>(samples.data()), std::streamsize(dataBytes));
    return bool(f);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const std::vector<std::pair<std::string, std::vector<Note>>> sounds = {
        {"word_ok.wav", {{880, 880, 0.08, 0.5}, {1320, 1320, 0.14, 0.5}}},
        {"word_err.wav", {{180, 150, 0.18, 0.6, 0.15}}},
        {"city_hurt.wav", {{220, 60, 0.45, 0.7, 0.6}}},
        {"city_shoot.wav", {{1800, 600, 0.09, 0.45, 0.1}}},
        {"city_miss_shoot.wav", {{300, 200, 0.12, 0.5, 0.3}}},
        {"difficulty_increase.wav", {{523, 523, 0.1, 0.45}, {659, 659, 0.1, 0.45}, {784, 784, 0.1, 0.45}, {1047, 1047, 0.25, 0.45}}},
    };
    std::mt19937 rng(20261208);
    for (const auto& [name, notes] : sounds) {
        std::vector<int16_t> samples;
        for (const Note& n : notes)
            appendNote(samples, n, rng);
        if (!writeWav(dir + "/" + name, samples)) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), name.c_str());
            return 1;
        }
    }
    return 0;
}
