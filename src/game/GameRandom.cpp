#include "game/GameRandom.h"

#include <QDateTime>
#include <mutex>
#include <random>

namespace {

struct Generator {
    std::mutex lock;
    std::mt19937 engine{12345u};
    GameRandom::SeedSource source;
};

Generator& generator() {
    static Generator g;
    return g;
}

uint32_t clockSeed() {
    return uint32_t(QDateTime::currentMSecsSinceEpoch());
}

} // namespace

namespace GameRandom {

int Random(int n) {
    if (n <= 0) return 0;
    Generator& g = generator();
    std::lock_guard<std::mutex> locker(g.lock);
    return std::uniform_int_distribution<int>(0, n - 1)(g.engine);
}

void Randomize() {
    Generator& g = generator();
    std::lock_guard<std::mutex> locker(g.lock);
    g.engine.seed(g.source ? g.source() : clockSeed());
}

void seed(uint32_t value) {
    Generator& g = generator();
    std::lock_guard<std::mutex> locker(g.lock);
    g.engine.seed(value);
}

void setSeedSource(SeedSource source) {
    Generator& g = generator();
    std::lock_guard<std::mutex> locker(g.lock);
    g.source = std::move(source);
}

} // namespace GameRandom

int Chance(int Percent) {
    return GameRandom::Random(100) < Percent ? 1 : 0;
}
