#pragma once

#include <cstdint>

// The one process-wide pseudo-random generator of the engine: the classic linear congruential
// generator whose results lie in 0..32767. Every user draws from the same state (the system
// services, the engine vector's random unit vector, the particle systems), so reseeding it
// anywhere changes what every other user gets next.
class SKRandom
{
public:
    static constexpr int32_t MAX_VALUE = 0x7FFF;

    // Sets the state, as the engine start-up and scripts do with a seed.
    static void Seed(uint32_t seed) { ms_uiState = seed; }

    // Advances the state and returns the next value in 0..MAX_VALUE.
    static int32_t Next()
    {
        ms_uiState = ms_uiState * 214013u + 2531011u;
        return static_cast<int32_t>((ms_uiState >> 16) & 0x7FFFu);
    }

    static uint32_t GetState() { return ms_uiState; }

private:
    static inline uint32_t ms_uiState = 1;
};
