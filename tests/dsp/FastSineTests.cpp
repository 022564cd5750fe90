#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <thread>
#include <vector>

#include <juce_audio_basics/juce_audio_basics.h>

#include "FloatBits.h"
#include "dsp/FastSine.h"

using FloatBits::sameBits;

namespace
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    constexpr uint32_t stride = 97;   // sanitised builds are too slow for every float
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(undefined_behavior_sanitizer)
    constexpr uint32_t stride = 97;
#else
    constexpr uint32_t stride = 1;
#endif
#else
    constexpr uint32_t stride = 1;
#endif

    /** Runs the vector sine on every stride-th float from +0 to lastBits (positive floats ascend
        with their bits) on all cores, and counts where it differs from std::sin.
    */
    long countMismatches (uint32_t lastBits, bool flushDenormals)
    {
        const auto numThreads = std::max (1u, std::thread::hardware_concurrency());
        std::atomic<long> mismatches { 0 };
        std::vector<std::thread> threads;

        for (unsigned t = 0; t < numThreads; ++t)
        {
            threads.emplace_back ([&, t]
                                  {
                juce::ScopedNoDenormals noDenormals;

                if (! flushDenormals)
                    juce::FloatVectorOperations::disableDenormalisedNumberSupport (false);

                constexpr uint32_t chunk = 4096;
                float in[chunk], out[chunk];
                long found = 0;

                for (uint64_t first = (uint64_t) t * chunk * stride; first <= lastBits; first += (uint64_t) numThreads * chunk * stride)
                {
                    int count = 0;

                    for (uint64_t bits = first; count < (int) chunk && bits <= lastBits; bits += stride)
                        in[count++] = FloatBits::fromBits ((uint32_t) bits);

                    FastSine::vectorSines (in, out, count);

                    for (int i = 0; i < count; ++i)
                        found += sameBits (out[i], std::sin (in[i])) ? 0 : 1;
                }

                mismatches += found; });
        }

        for (auto& thread : threads)
            thread.join();

        return mismatches;
    }
}

// The oscillator takes the sine of a phase times 2 pi: every float from 0 to 6.2831855f, with
// denormals kept and with them flushed (as processBlock runs), must come out as std::sin's.
TEST (FastSine, EveryPhaseOfTheOscillatorGivesTheLibrarysSineBitForBit)
{
    if (! FastSine::cpuHasVectorSines())
        GTEST_SKIP() << "this CPU has no AVX2 and FMA";

    const auto lastBits = FloatBits::bitsOf (6.2831855f);

    long total = 0;

    for (const auto flush : { false, true })
    {
        const auto mismatches = countMismatches (lastBits, flush);
        EXPECT_EQ (mismatches, 0) << (flush ? "flushing denormals" : "keeping denormals");
        total += mismatches;
    }

    // A sine that matches everywhere must also pass the start-up check.
    if (total == 0 && stride == 1)
    {
        EXPECT_TRUE (FastSine::usesVectorSines());
    }
}

// Values the oscillator never takes still give the library's results (they go to std::sin), and
// so do counts that leave a part of a group of four.
TEST (FastSine, ValuesOutsideThePhaseRangeAndShortTailsGiveTheLibrarysSine)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> values { -0.0f, -1.0e-30f, 1.0e-40f, -0.3f, -2.5f, -119.0f, 119.9f, 120.0f, 1.0e6f,
                                      -3.0e38f, inf, -inf, std::numeric_limits<float>::quiet_NaN(), 7.5f, 0.7853982f };

    for (size_t count = 0; count <= values.size(); ++count)
    {
        SCOPED_TRACE (count);
        std::vector<float> vector (count, 0.0f), chosen (values.begin(), values.begin() + (long) count);

        if (FastSine::cpuHasVectorSines())
            FastSine::vectorSines (values.data(), vector.data(), (int) count);

        FastSine::sines (chosen.data(), chosen.data(), (int) count);   // in place

        for (size_t i = 0; i < count; ++i)
        {
            const auto expected = std::sin (values[i]);

            if (FastSine::cpuHasVectorSines())
            {
                EXPECT_TRUE (std::isnan (expected) ? std::isnan (vector[i]) : sameBits (vector[i], expected)) << values[i];
            }

            EXPECT_TRUE (std::isnan (expected) ? std::isnan (chosen[i]) : sameBits (chosen[i], expected)) << values[i];
        }
    }
}
