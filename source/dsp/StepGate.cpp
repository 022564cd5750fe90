#include "StepGate.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace StepGate
{
    void countChannelSamples (int& chunkCounter, int& stepClock, int chunkSize, int numChannelSamples) noexcept
    {
        jassert (chunkSize > 0 && numChannelSamples >= 0);

        const auto counted = (juce::int64) chunkCounter + numChannelSamples;
        const auto completedChunks = counted / chunkSize;
        chunkCounter = (int) (counted % chunkSize);

        const auto largestClock = (juce::int64) (INT_MAX / chunkSize) * chunkSize;
        stepClock = (int) juce::jmin ((juce::int64) stepClock + completedChunks * chunkSize, largestClock);
    }

    int divisorFor (int speedMode) noexcept
    {
        return infoFor (toSpeedMode (speedMode)).divisor;
    }

    int stepLength (int samplesPerBar, int speedMode) noexcept
    {
        return samplesPerBar / divisorFor (speedMode);
    }

    bool advance (int& stepClock, int& currentStep, int stepLength) noexcept
    {
        if (stepClock <= stepLength)
            return false;

        stepClock = 0;
        currentStep = currentStep >= numSteps ? 1 : currentStep + 1;
        return true;
    }

    void showStep (Lights& lights, int currentStep) noexcept
    {
        // Step s lights handle s + 1 (index s) and puts out handle s (index s - 1); step 1 also puts
        // out the last-step indicator, and step 8 lights it together with handle 1.
        const auto set = [&lights] (int index, bool lit)
        { lights[(size_t) index].store (lit, std::memory_order_relaxed); };

        if (currentStep == 1)
        {
            set (0, false);
            set (numSteps, false);
            set (1, true);
        }
        else if (currentStep == numSteps)
        {
            set (numSteps - 1, false);
            set (numSteps, true);
            set (0, true);
        }
        else
        {
            set (currentStep - 1, false);
            set (currentStep, true);
        }
    }

    namespace
    {
        constexpr int unroll = 16;
        constexpr std::uintptr_t vectorBytes = 32;

// Where the CPU has AVX the multiplies take eight samples at a time; the loader picks the copy.
#if defined(__x86_64__) && ! defined(__clang__)
#define ZURIZAZ_VECTOR_CLONES __attribute__ ((target_clones ("avx", "default")))
#else
#define ZURIZAZ_VECTOR_CLONES
#endif

        /** How many of numSamples come before the first sample on a 32-byte boundary. A store that
            straddles two cache lines costs two, and a stereo juce::AudioBuffer's samples start right
            after its three channel pointers, 8 bytes past a 16-byte boundary: every other eight-lane
            store from there would straddle.
        */
        int samplesBeforeBoundary (const float* d, int numSamples) noexcept
        {
            const auto misalignment = reinterpret_cast<std::uintptr_t> (d) % vectorBytes;
            return juce::jmin (numSamples, (int) ((vectorBytes - misalignment) % vectorBytes / sizeof (float)));
        }

        /** One gain for every sample, read as a ramp's gains are: at any index, from any offset. */
        struct Steady
        {
            float gain;

            float operator[] (int) const noexcept { return gain; }
            Steady operator+ (int) const noexcept { return *this; }
        };

        /** d[i] *= gains[i] for every i below numSamples: one at a time up to the boundary, then
            sixteen to a turn (the loop's own overhead is most of what a one-at-a-time loop costs at
            these lengths), then the rest one at a time. Every sample takes the same one multiply.
        */
        template <typename Gains>
        forcedinline void multiplyEach (float* __restrict d, Gains gains, int numSamples) noexcept
        {
            const auto head = samplesBeforeBoundary (d, numSamples);

            for (int i = 0; i < head; ++i)
                d[i] *= gains[i];

            // Indexed afresh from the boundary: the vectoriser then sees the sixteen side by side.
            d += head;
            gains = gains + head;
            numSamples -= head;
            int i = 0;

            for (; i + unroll <= numSamples; i += unroll)
                for (int k = 0; k < unroll; ++k)
                    d[i + k] *= gains[i + k];

            for (; i < numSamples; ++i)
                d[i] *= gains[i];
        }

        ZURIZAZ_VECTOR_CLONES void multiply (float* __restrict d, const float* __restrict gains, int numSamples) noexcept
        {
            multiplyEach (d, gains, numSamples);
        }

        ZURIZAZ_VECTOR_CLONES void multiply (float* __restrict d, float gain, int numSamples) noexcept
        {
            multiplyEach (d, Steady { gain }, numSamples);
        }

        /** d[i] *= gains[i] where the gains may hold NaNs. The product of two NaNs is one of them, the
            first operand's on x86, and which operand comes first is the compiler's choice: here a NaN
            sample always keeps its own NaN (made quiet), as the buffer's own ramp gives.
        */
        void multiplyKeepingSampleNaNs (float* d, const float* gains, int numSamples) noexcept
        {
            for (int i = 0; i < numSamples; ++i)
            {
                const auto sample = d[i];
                d[i] = sample * (std::isnan (sample) ? sample : gains[i]);
            }
        }

        /** True when every channel starts where the one before ends, as in a buffer that holds its
            own samples: a steady gain then takes them all in one run.
        */
        bool channelsFollowOneAnother (const juce::AudioBuffer<float>& buffer) noexcept
        {
            if (buffer.getNumChannels() < 2 || (juce::int64) buffer.getNumChannels() * buffer.getNumSamples() > INT_MAX)
                return false;

            const auto* const* channels = buffer.getArrayOfReadPointers();

            for (int ch = 1; ch < buffer.getNumChannels(); ++ch)
                if (channels[ch] != channels[ch - 1] + buffer.getNumSamples())
                    return false;

            return true;
        }
    }

    /*  What juce::AudioBuffer's applyGainRamp and applyGain do, bit for bit, with the ramp's gains
        worked out once for all channels: sample 0 takes previousGain, and each further sample the
        factor before it plus the increment, accumulated in float. A buffer flagged as cleared is
        left alone, a steady gain of 1 changes nothing, and one of 0 clears the samples.
    */
    void applyGain (juce::AudioBuffer<float>& buffer, float& previousGain, float gain) noexcept
    {
        const auto numSamples = buffer.getNumSamples();
        const auto numChannels = buffer.getNumChannels();
        const auto startGain = previousGain;
        previousGain = gain;

        if (buffer.hasBeenCleared())
            return;

        if (gain != startGain)
        {
            // A zero-sample block has nothing to ramp (and the increment would divide by zero).
            if (numSamples <= 0)
                return;

            const auto increment = (gain - startGain) / (float) numSamples;

            // From a finite start by a finite step the factor never meets the opposite infinity, so
            // no gain is NaN and no product of two NaNs can arise.
            const auto gainsMayBeNaN = ! (std::isfinite (startGain) && std::isfinite (increment));
            constexpr int chunk = 256;
            float gains[chunk];
            auto factor = startGain;

            for (int start = 0; start < numSamples; start += chunk)
            {
                const auto length = juce::jmin (chunk, numSamples - start);

                for (int i = 0; i < length; ++i)
                {
                    gains[i] = factor;
                    factor += increment;
                }

                for (int ch = 0; ch < numChannels; ++ch)
                {
                    auto* d = buffer.getWritePointer (ch) + start;

                    if (gainsMayBeNaN)
                        multiplyKeepingSampleNaNs (d, gains, length);
                    else
                        multiply (d, gains, length);
                }
            }
        }
        else if (gain == 0.0f)
        {
            for (int ch = 0; ch < numChannels; ++ch)
                juce::FloatVectorOperations::clear (buffer.getWritePointer (ch), numSamples);
        }
        else if (gain != 1.0f)
        {
            if (channelsFollowOneAnother (buffer))
            {
                multiply (buffer.getWritePointer (0), gain, numChannels * numSamples);
                return;
            }

            for (int ch = 0; ch < numChannels; ++ch)
                multiply (buffer.getWritePointer (ch), gain, numSamples);
        }
    }
}
