#pragma once

#include <cstdint>
#include <cstring>

/** Floats by their bits, for tests that ask for results bit for bit: NaN payloads, signs of
    zero and denormals included. */
namespace FloatBits
{
    inline std::uint32_t bitsOf (float f)
    {
        std::uint32_t bits;
        std::memcpy (&bits, &f, sizeof (bits));
        return bits;
    }

    inline float fromBits (std::uint32_t bits)
    {
        float f;
        std::memcpy (&f, &bits, sizeof (f));
        return f;
    }

    inline bool sameBits (float a, float b) { return bitsOf (a) == bitsOf (b); }

    /** A NaN with its quiet bit set, as an arithmetic operation passes it on. */
    inline float quieted (float nan) { return fromBits (bitsOf (nan) | 0x00400000u); }
}
