#pragma once
// The level step of a full-range module's HF shading switch (Switch2): mode 2 (single)
// -3.1 dB, mode 3 (long) +0.5 dB, any other value nothing. Both prediction models apply it.

inline double HfShadingDB(int mode)
{
    constexpr int kSingleShading = 2;
    constexpr int kLongShading = 3;
    if (mode == kSingleShading)
        return -3.1;
    if (mode == kLongShading)
        return 0.5;
    return 0.0;
}
