#pragma once

#include <cmath>
#include <cstring>

#include <emmintrin.h>

/** Four floats side by side in one SSE2 register, with the operations the swept delay's formulas
    use, beside the same operations on a plain float.

    A formula written once as a template over the lane type then serves one sample (float) or four
    (Floats). Each operation on Floats rounds every lane exactly as the float one does, so the two
    give the same bits.
*/
namespace FloatLanes
{
    //==============================================================================
    // The plain forms, for one sample.
    inline double toDouble (float x) noexcept { return (double) x; }
    inline float toFloat (double x) noexcept { return (float) x; }
    inline float toFloat (int x) noexcept { return (float) x; }
    inline int truncate (float x) noexcept { return (int) x; }
    inline bool isFinite (float x) noexcept { return std::isfinite (x); }
    inline bool isWithin (float x, float low, float highExcluded) noexcept { return x >= low && x < highExcluded; }
    inline float select (bool condition, float ifTrue, float ifFalse) noexcept { return condition ? ifTrue : ifFalse; }
    inline int select (bool condition, int ifTrue, int ifFalse) noexcept { return condition ? ifTrue : ifFalse; }
    inline float gather (const float* table, int index) noexcept { return table[index]; }

    //==============================================================================
    /** Four floats. */
    struct Floats
    {
        __m128 v;
    };

    /** Four doubles, as two registers of two. */
    struct Doubles
    {
        __m128d low, high;
    };

    /** Four ints. */
    struct Ints
    {
        __m128i v;
    };

    /** A true or false per lane, all bits set or clear. */
    struct Mask
    {
        __m128 v;
    };

    inline Floats load (const float* source) noexcept { return { _mm_loadu_ps (source) }; }
    inline void store (float* destination, Floats x) noexcept { _mm_storeu_ps (destination, x.v); }
    inline Floats floats (float x) noexcept { return { _mm_set1_ps (x) }; }

    /** first, first + 1, first + 2, first + 3. */
    inline Ints consecutive (int first) noexcept { return { _mm_add_epi32 (_mm_set1_epi32 (first), _mm_setr_epi32 (0, 1, 2, 3)) }; }

    inline Floats operator+ (Floats a, Floats b) noexcept { return { _mm_add_ps (a.v, b.v) }; }
    inline Floats operator- (Floats a, Floats b) noexcept { return { _mm_sub_ps (a.v, b.v) }; }
    inline Floats operator* (Floats a, Floats b) noexcept { return { _mm_mul_ps (a.v, b.v) }; }
    inline Floats operator+ (Floats a, float b) noexcept { return a + floats (b); }
    inline Floats operator- (Floats a, float b) noexcept { return a - floats (b); }
    inline Floats operator- (float a, Floats b) noexcept { return floats (a) - b; }
    inline Floats operator* (Floats a, float b) noexcept { return a * floats (b); }
    inline Floats operator* (float a, Floats b) noexcept { return floats (a) * b; }

    inline Doubles operator+ (Doubles a, Doubles b) noexcept { return { _mm_add_pd (a.low, b.low), _mm_add_pd (a.high, b.high) }; }
    inline Doubles operator* (Doubles a, double b) noexcept
    {
        const auto factor = _mm_set1_pd (b);
        return { _mm_mul_pd (a.low, factor), _mm_mul_pd (a.high, factor) };
    }

    inline Doubles toDouble (Floats x) noexcept { return { _mm_cvtps_pd (x.v), _mm_cvtps_pd (_mm_movehl_ps (x.v, x.v)) }; }
    inline Floats toFloat (Doubles x) noexcept { return { _mm_movelh_ps (_mm_cvtpd_ps (x.low), _mm_cvtpd_ps (x.high)) }; }
    inline Floats toFloat (Ints x) noexcept { return { _mm_cvtepi32_ps (x.v) }; }
    inline Ints truncate (Floats x) noexcept { return { _mm_cvttps_epi32 (x.v) }; }

    inline Ints operator+ (Ints a, int b) noexcept { return { _mm_add_epi32 (a.v, _mm_set1_epi32 (b)) }; }
    inline Ints operator- (Ints a, int b) noexcept { return { _mm_sub_epi32 (a.v, _mm_set1_epi32 (b)) }; }
    inline Mask operator>= (Ints a, int b) noexcept { return { _mm_castsi128_ps (_mm_cmpgt_epi32 (a.v, _mm_set1_epi32 (b - 1))) }; }
    inline Mask operator<(Floats a, float b) noexcept { return { _mm_cmplt_ps (a.v, _mm_set1_ps (b)) }; }

    inline Mask isFinite (Floats x) noexcept
    {
        const auto magnitude = _mm_and_ps (x.v, _mm_castsi128_ps (_mm_set1_epi32 (0x7fffffff)));
        return { _mm_cmple_ps (magnitude, _mm_set1_ps (3.40282347e38f)) };   // false for NaN, too
    }

    inline Mask isWithin (Floats x, float low, float highExcluded) noexcept
    {
        return { _mm_and_ps (_mm_cmpge_ps (x.v, _mm_set1_ps (low)), _mm_cmplt_ps (x.v, _mm_set1_ps (highExcluded))) };
    }

    inline Floats select (Mask condition, Floats ifTrue, Floats ifFalse) noexcept
    {
        return { _mm_or_ps (_mm_and_ps (condition.v, ifTrue.v), _mm_andnot_ps (condition.v, ifFalse.v)) };
    }

    inline Floats select (Mask condition, Floats ifTrue, float ifFalse) noexcept { return select (condition, ifTrue, floats (ifFalse)); }

    inline Ints select (Mask condition, Ints ifTrue, Ints ifFalse) noexcept
    {
        const auto c = _mm_castps_si128 (condition.v);
        return { _mm_or_si128 (_mm_and_si128 (c, ifTrue.v), _mm_andnot_si128 (c, ifFalse.v)) };
    }

    /** table[index] for each lane. */
    inline Floats gather (const float* table, Ints index) noexcept
    {
        alignas (16) int i[4];
        _mm_store_si128 ((__m128i*) i, index.v);
        return { _mm_setr_ps (table[i[0]], table[i[1]], table[i[2]], table[i[3]]) };
    }
}
