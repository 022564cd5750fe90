#include "StepGate.h"

#include <climits>

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

// Where the CPU has AVX the multiplies take eight samples at a time; the loader picks the copy.
#if defined(__x86_64__) && ! defined(__clang__)
#define ZURIZAZ_VECTOR_CLONES __attribute__ ((target_clones ("avx", "default")))
#else
#define ZURIZAZ_VECTOR_CLONES
#endif

        /** d[i] *= gains[i], sixteen samples to a turn: the loop's own overhead is most of what a
            one-at-a-time loop costs at these lengths.
        */
        ZURIZAZ_VECTOR_CLONES void multiply (float* d, const float* gains, int numSamples) noexcept
        {
            int i = 0;

            for (; i + unroll <= numSamples; i += unroll)
                for (int k = 0; k < unroll; ++k)
                    d[i + k] *= gains[i + k];

            for (; i < numSamples; ++i)
                d[i] *= gains[i];
        }

        ZURIZAZ_VECTOR_CLONES void multiply (float* d, float gain, int numSamples) noexcept
        {
            int i = 0;

            for (; i + unroll <= numSamples; i += unroll)
                for (int k = 0; k < unroll; ++k)
                    d[i + k] *= gain;

            for (; i < numSamples; ++i)
                d[i] *= gain;
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
                    multiply (buffer.getWritePointer (ch) + start, gains, length);
            }
        }
        else if (gain == 0.0f)
        {
            for (int ch = 0; ch < numChannels; ++ch)
                juce::FloatVectorOperations::clear (buffer.getWritePointer (ch), numSamples);
        }
        else if (gain != 1.0f)
        {
            for (int ch = 0; ch < numChannels; ++ch)
                multiply (buffer.getWritePointer (ch), gain, numSamples);
        }
    }
}
