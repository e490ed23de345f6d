// A small deterministic generator for the data tools, so that every build draws
// the same stars and plays the same notes. `salt` keeps the streams of different
// tools apart for the same seed.
#pragma once

#include <cstdint>

class Random {
public:
    explicit Random(uint64_t seed, uint64_t salt = 1) : state_(seed * 0x9E3779B97F4A7C15ull + salt) {}
    uint32_t Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return uint32_t(state_ >> 32);
    }
    float Uniform() { return (Next() >> 8) * (1.0f / 16777216.0f); }  // [0, 1), 24 bits
    double UniformDouble() { return Next() / 4294967296.0; }         // [0, 1), 32 bits
    float Range(float a, float b) { return a + (b - a) * Uniform(); }

private:
    uint64_t state_;
};
