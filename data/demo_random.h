// The seeded generator of the demo and benchmark practices.
#pragma once

#include <cstdint>
#include <vector>

// SplitMix64: small, fast, and fully defined by its few lines (unlike the standard
// distributions, whose results differ between libraries).
class DemoRandom {
public:
    // The seed goes through the mixer first: neighbouring seeds must not give one sequence
    // shifted by a step.
    explicit DemoRandom(uint32_t seed) : state_(Mix(seed + 0x5DEECE66Dull)) {}
    uint64_t Next() { return Mix(state_ += 0x9E3779B97F4A7C15ull); }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    template <typename T>
    const T& Pick(const std::vector<T>& items) { return items[static_cast<size_t>(Below(static_cast<int>(items.size())))]; }

private:
    static uint64_t Mix(uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint64_t state_;
};
