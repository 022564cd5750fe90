#pragma once

/** Sines of many floats at once, each bit for bit what std::sin (float) gives.

    The oscillator of the swept delay takes two sines per sample, and the C library's sinf is
    called one value at a time. Where the CPU has AVX2 and FMA, and the C library's sinf turns
    out at start-up to be the one the vector version was made to match (reduction by pi / 2 and a
    fixed polynomial, in double with fused multiply-adds), four sines are worked out together;
    anywhere else each value goes to std::sin. Either way the results are the same bits.
*/
namespace FastSine
{
    /** out[i] = std::sin (in[i]) for i from 0 to count - 1. in and out may be the same array. */
    void sines (const float* in, float* out, int count) noexcept;

    /** True when sines() runs the vector version on this machine. */
    bool usesVectorSines() noexcept;

    /** True when the CPU has the instructions the vector version needs. */
    bool cpuHasVectorSines() noexcept;

    /** The vector version itself, whichever sines() chose; call it only where
        cpuHasVectorSines() is true. Values from 120 up in magnitude, infinities and NaN go to
        std::sin.
    */
    void vectorSines (const float* in, float* out, int count) noexcept;
}
