#include "FastSine.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZURIZAZ_X86 1
#endif

namespace FastSine
{
    namespace
    {
        void librarySines (const float* in, float* out, int count) noexcept
        {
            for (int i = 0; i < count; ++i)
                out[i] = std::sin (in[i]);
        }

#if ZURIZAZ_X86
// Only these functions use AVX2 and FMA; the rest of the plug-in runs on any x86-64.
#define ZURIZAZ_AVX2_FMA __attribute__ ((target ("avx2,fma")))

        /*  The sine as the C library's sinf works it out on such a CPU, four values at a time.
            The float y is widened to double. Below 2^-12 in magnitude the result is y itself;
            below 0.75 (pi / 4 compared by its top bits) x = y goes straight into the polynomial.
            Up to 120, the quadrant n = round (y / (pi / 2)) is found in fixed point, and
            x = y - n pi / 2 in a single rounding. The sine polynomial of x serves an even n, the
            cosine polynomial an odd n, and quadrants 2 and 3 negate the result. Each fused
            multiply-add below is one there too, and every other step rounds on its own.
        */
        constexpr double halfPi = 0x1.921fb54442d18p0;
        constexpr double quadrantsPerRadianFixed = 0x1.45f306dc9c883p+23;   // 2 / pi, times 2^24

        constexpr double s1 = -0x1.555545995a603p-3, s2 = 0x1.1107605230bc4p-7, s3 = -0x1.994eb3774cf24p-13;
        constexpr double c0 = 0x1p0, c1 = -0x1ffffffd0c621cp-54, c2 = 0x1.55553e1068f19p-5,
                         c3 = -0x1.6c087e89a359dp-10, c4 = 0x1.99343027bf8c3p-16;

        /** The top 12 bits of a float's magnitude: the exponent and the first 3 bits of the mantissa. */
        constexpr int32_t topBits (uint32_t bits) noexcept { return (int32_t) ((bits & 0x7fffffffu) >> 20); }

        constexpr int32_t tinyBelow = topBits (0x39800000u);      // 0x1p-12f
        constexpr int32_t directBelow = topBits (0x3f490fdbu);    // pi / 4 as a float
        constexpr int32_t reducedBelow = topBits (0x42f00000u);   // 120.0f

        ZURIZAZ_AVX2_FMA inline __m256d sinePolynomial (__m256d x, __m256d x2) noexcept
        {
            const auto x3 = _mm256_mul_pd (x, x2);
            const auto high = _mm256_fmadd_pd (x2, _mm256_set1_pd (s3), _mm256_set1_pd (s2));
            const auto x7 = _mm256_mul_pd (x3, x2);
            const auto low = _mm256_fmadd_pd (x3, _mm256_set1_pd (s1), x);
            return _mm256_fmadd_pd (x7, high, low);
        }

        ZURIZAZ_AVX2_FMA inline __m256d cosinePolynomial (__m256d x2) noexcept
        {
            const auto x4 = _mm256_mul_pd (x2, x2);
            const auto high = _mm256_fmadd_pd (x2, _mm256_set1_pd (c4), _mm256_set1_pd (c3));
            const auto low = _mm256_fmadd_pd (x2, _mm256_set1_pd (c1), _mm256_set1_pd (c0));
            const auto x6 = _mm256_mul_pd (x4, x2);
            const auto middle = _mm256_fmadd_pd (x4, _mm256_set1_pd (c2), low);
            return _mm256_fmadd_pd (x6, high, middle);
        }

        /** Four sines; false, with nothing written, when a value needs the C library's own path. */
        ZURIZAZ_AVX2_FMA inline bool fourSines (const float* in, float* out) noexcept
        {
            const auto y = _mm_loadu_ps (in);
            const auto top = _mm_srli_epi32 (_mm_and_si128 (_mm_castps_si128 (y), _mm_set1_epi32 (0x7fffffff)), 20);

            if (_mm_movemask_ps (_mm_castsi128_ps (_mm_cmplt_epi32 (top, _mm_set1_epi32 (reducedBelow)))) != 0xf)
                return false;

            const auto isTiny = _mm_cmplt_epi32 (top, _mm_set1_epi32 (tinyBelow));
            const auto isDirect = _mm_cmplt_epi32 (top, _mm_set1_epi32 (directBelow));

            const auto x = _mm256_cvtps_pd (y);
            auto n = _mm256_cvttpd_epi32 (_mm256_mul_pd (x, _mm256_set1_pd (quadrantsPerRadianFixed)));
            n = _mm_srai_epi32 (_mm_add_epi32 (n, _mm_set1_epi32 (0x800000)), 24);
            n = _mm_andnot_si128 (isDirect, n);   // quadrant 0, and x left as it is

            const auto reduced = _mm256_fnmadd_pd (_mm256_cvtepi32_pd (n), _mm256_set1_pd (halfPi), x);
            const auto reduced2 = _mm256_mul_pd (reduced, reduced);

            // An odd quadrant takes the cosine: the sign bit of each 64-bit lane picks it.
            const auto isOdd = _mm256_castsi256_pd (_mm256_cvtepi32_epi64 (_mm_slli_epi32 (n, 31)));
            const auto value = _mm256_blendv_pd (sinePolynomial (reduced, reduced2), cosinePolynomial (reduced2), isOdd);

            // Quadrants 2 and 3 negate; rounding to nearest is symmetric, so after rounding is the same.
            const auto negate = _mm_slli_epi32 (_mm_srli_epi32 (n, 1), 31);
            const auto result = _mm_xor_ps (_mm256_cvtpd_ps (value), _mm_castsi128_ps (negate));

            _mm_storeu_ps (out, _mm_blendv_ps (result, y, _mm_castsi128_ps (isTiny)));
            return true;
        }

        ZURIZAZ_AVX2_FMA void avx2Sines (const float* in, float* out, int count) noexcept
        {
            int i = 0;

            for (; i + 4 <= count; i += 4)
                if (! fourSines (in + i, out + i))
                    librarySines (in + i, out + i, 4);

            if (i < count)
            {
                float last[4] = {}, results[4];
                std::memcpy (last, in + i, sizeof (float) * (size_t) (count - i));

                if (! fourSines (last, results))
                    librarySines (last, results, 4);

                std::memcpy (out + i, results, sizeof (float) * (size_t) (count - i));
            }
        }
#endif

        using Sines = void (*) (const float*, float*, int) noexcept;

        /*  Values the vector version must agree on with the C library before it is used: a few in
            each quadrant, and among them some where a correctly rounded sinf (as some C libraries
            have) differs from this one by a unit in the last place.
        */
        const float probes[] = { 0.0f, 1.0e-5f, 0.5f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.2831855f,
                                 0x1.d12ed2p-12f, 0x1.9a9082p-10f, 0x1.9a4bf2p-1f, 0x1.0093acp+1f,
                                 0x1.c000eap+1f, 0x1.403398p+2f };

        Sines chooseSines() noexcept
        {
#if ZURIZAZ_X86
            if (! cpuHasVectorSines())
                return librarySines;

            for (const auto probe : probes)
            {
                // Read through volatile, so that the compiler cannot work out the library's sine itself.
                const volatile float value = probe;
                const auto input = (float) value;
                float vector = 0.0f;
                avx2Sines (&input, &vector, 1);
                const auto library = std::sin (input);

                if (std::memcmp (&vector, &library, sizeof (float)) != 0)
                    return librarySines;
            }

            return avx2Sines;
#else
            return librarySines;
#endif
        }

        // Constant-initialised to the library's version, then chosen while the plug-in loads.
        Sines chosenSines = librarySines;
        const bool chosenAtStartUp = (chosenSines = chooseSines(), true);
    }

    void sines (const float* in, float* out, int count) noexcept
    {
        chosenSines (in, out, count);
    }

    bool usesVectorSines() noexcept
    {
        return chosenAtStartUp && chosenSines != librarySines;
    }

    bool cpuHasVectorSines() noexcept
    {
#if ZURIZAZ_X86
        __builtin_cpu_init();
        return __builtin_cpu_supports ("avx2") && __builtin_cpu_supports ("fma");
#else
        return false;
#endif
    }

    void vectorSines (const float* in, float* out, int count) noexcept
    {
#if ZURIZAZ_X86
        avx2Sines (in, out, count);
#else
        librarySines (in, out, count);
#endif
    }
}
