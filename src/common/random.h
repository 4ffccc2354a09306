#pragma once
// The program's one source of randomness. Seeded from the clock in the
// program; tests and `zelvor-cli --seed` give a fixed seed so results repeat.
#include <cstdint>
#include <random>

namespace zelvor {

class Random {
public:
    explicit Random(std::uint64_t seed = 0) : engine_(seed) {}
    void seed(std::uint64_t s) { engine_.seed(s); }
    void seedFromClock();
    // A whole number 0..n-1, uniformly (n >= 1).
    int below(int n)
    {
        std::uniform_int_distribution<int> dist(0, n - 1);
        return dist(engine_);
    }
    std::mt19937_64& engine() { return engine_; }

private:
    std::mt19937_64 engine_;
};

// The shared generator every window and command draws from.
Random& programRandom();

} // namespace zelvor
