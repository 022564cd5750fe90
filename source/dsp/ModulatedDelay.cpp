#include "ModulatedDelay.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "EffectModes.h"

namespace ModulatedDelay
{
    namespace
    {
        constexpr float twoPi = 6.2831855f;

        /** What the lines and the feedback keep of a value: the value itself, or 0 in place of a NaN
            or an infinity (a broken source upstream, or a sum that overflows), which the lines and
            the feedback would otherwise hand on to every later sample.
        */
        float keepable (float value) noexcept { return std::isfinite (value) ? value : 0.0f; }

        float advancePhaseBy (float phase, double increment) noexcept
        {
            phase = (float) ((double) phase + increment);

            if (phase > 1.0f)
                phase = phase - 1.0f;

            return phase;
        }

        /** The dry/wet mix of the left channel: at impact 1, half the dry plus 0.75 of the delayed. */
        float mixLeft (float dry, float delayed, float impact) noexcept
        {
            const auto m = impact * 0.5f;
            return (float) ((double) (delayed * m) * 1.5 + (double) (dry * (1.0f - m)));
        }

        /** The same mix on the right channel, with the factors in the right channel's order. */
        float mixRight (float dry, float delayed, float impact) noexcept
        {
            const auto m = impact * 0.5f;
            return (float) ((double) (m * delayed) * 1.5 + (double) ((1.0f - m) * dry));
        }
    }

    float advancePhase (float phase, float rate, double sampleRate) noexcept
    {
        return advancePhaseBy (phase, (double) rate / sampleRate);
    }

    float delayInSamples (float depth, float sine, SweepRange sweep, double sampleRate) noexcept
    {
        return (float) ((double) (((depth * sine + 1.0f) * sweep.span) * 0.5f + sweep.minimum) * sampleRate);
    }

    float readLine (const float* line, int length, int writeIndex, float delay) noexcept
    {
        const auto lineEnd = (float) length;
        auto position = (float) writeIndex - delay;

        if (position < 0.0f)
            position = position + lineEnd;

        // Just below 0, the wrap can round up onto lineEnd itself, which is where 0 is.
        if (! (position >= 0.0f && position < lineEnd))
            position = 0.0f;

        const auto j = (int) position;
        const auto f = position - (float) j;
        auto k = j + 1;

        if (k >= length)
            k = k - length;

        return f * line[k] + (1.0f - f) * line[j];
    }

    void processPlain (DelayLines& lines, const Controls& controls, SweepRange sweep, double sampleRate,
                       float* channel, float* left, float* right, int numSamples) noexcept
    {
        const auto length = lines.length;

        if (length <= 0)
            return;

        auto* leftLine = lines.left.data();
        auto* rightLine = lines.right.data();
        auto writeIndex = lines.writeIndex;
        auto phase = lines.lfoPhase;
        auto feedbackLeft = lines.feedbackLeft;
        auto feedbackRight = lines.feedbackRight;

        // The parameters are read at every sample, but what is derived from them (the quantiser's
        // step, the oscillator's increment) is only worth working out again when they move, and
        // only a new value needs the check for NaN and infinities. NaN never matches, so both
        // start fresh.
        auto lastBite = std::numeric_limits<float>::quiet_NaN();
        EffectModes::Quantiser quantiser;
        auto lastRate = std::numeric_limits<float>::quiet_NaN();
        auto phaseIncrement = 0.0;

        // The oscillator and the delays it sweeps depend on the parameters and the phase alone, not
        // on the signal, so they are worked out a few samples ahead: that lets the sines of
        // neighbouring samples overlap. Each parameter is still read once per sample, in sample order.
        constexpr int batchSize = 32;
        float delaysLeft[batchSize], delaysRight[batchSize];

        for (int batchStart = 0; batchStart < numSamples; batchStart += batchSize)
        {
            const auto batchLength = std::min (batchSize, numSamples - batchStart);

            for (int k = 0; k < batchLength; ++k)
            {
                const auto phaseLeft = phase;
                const auto sineLeft = std::sin (phaseLeft * twoPi);
                const auto depth = controls.depth.load();
                delaysLeft[k] = delayInSamples (depth, sineLeft, sweep, sampleRate);

                if (right != nullptr)
                {
                    auto phaseRight = phaseLeft + controls.phaserX.load();

                    if (phaseRight > 1.0f)
                        phaseRight = phaseRight - 1.0f;

                    // With "phaserX" at 0 both oscillators sit at the same phase: one sine serves both.
                    const auto sineRight = phaseRight == phaseLeft ? sineLeft : std::sin (phaseRight * twoPi);
                    delaysRight[k] = delayInSamples (depth, sineRight, sweep, sampleRate);
                }

                const auto rate = controls.rate.loadAsStored();

                if (rate != lastRate)
                {
                    lastRate = rate;
                    phaseIncrement = (double) controls.rate.orDefault (rate) / sampleRate;
                }

                phase = advancePhaseBy (phase, phaseIncrement);
            }

            for (int k = 0; k < batchLength; ++k)
            {
                const auto i = batchStart + k;
                const auto bite = controls.bite.loadAsStored();

                if (bite != lastBite)
                {
                    lastBite = bite;
                    quantiser.setLevels (std::exp2 (controls.bite.orDefault (bite)));
                }

                channel[i] = quantiser (channel[i]);

                const auto dryLeft = left[i];
                leftLine[writeIndex] = keepable (dryLeft + feedbackLeft);
                const auto delayedLeft = readLine (leftLine, length, writeIndex, delaysLeft[k]);
                const auto feedback = controls.feedback.load();
                feedbackLeft = feedback * delayedLeft;

                if (right != nullptr)
                {
                    const auto dryRight = right[i];
                    rightLine[writeIndex] = keepable (dryRight + feedbackRight);
                    const auto delayedRight = readLine (rightLine, length, writeIndex, delaysRight[k]);
                    feedbackRight = feedback * delayedRight;

                    if (++writeIndex >= length)
                        writeIndex = 0;

                    const auto impact = controls.impact.load();
                    left[i] = mixLeft (dryLeft, delayedLeft, impact);
                    right[i] = mixRight (dryRight, delayedRight, impact);
                }
                else
                {
                    if (++writeIndex >= length)
                        writeIndex = 0;

                    left[i] = mixLeft (dryLeft, delayedLeft, controls.impact.load());
                }
            }
        }

        lines.writeIndex = writeIndex;
        lines.lfoPhase = phase;
        // Within the pass the next write takes the feedback through keepable(); what carries over
        // to the next block is checked here.
        lines.feedbackLeft = keepable (feedbackLeft);
        lines.feedbackRight = keepable (feedbackRight);
    }

    void process (DelayLines& lines, const Controls& controls, SweepRange sweep, double sampleRate,
                  float* channel, float* left, float* right, int numSamples) noexcept
    {
        processPlain (lines, controls, sweep, sampleRate, channel, left, right, numSamples);
    }
}
