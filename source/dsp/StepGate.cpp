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

    void applyGain (juce::AudioBuffer<float>& buffer, float& previousGain, float gain) noexcept
    {
        const auto numSamples = buffer.getNumSamples();

        if (gain != previousGain)
        {
            // A zero-sample block has nothing to ramp (and the ramp's increment would divide by zero).
            if (numSamples > 0)
                buffer.applyGainRamp (0, numSamples, previousGain, gain);

            previousGain = gain;
        }
        else
        {
            buffer.applyGain (gain);
        }
    }
}
