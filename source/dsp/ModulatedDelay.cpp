#include "ModulatedDelay.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "EffectModes.h"
#include "FastSine.h"
#include "FloatLanes.h"

namespace ModulatedDelay
{
    namespace
    {
        using namespace FloatLanes;

        constexpr float twoPi = 6.2831855f;

        /*  The formulas of one sample, written once over the lane type: float for one sample, or
            FloatLanes::Floats for four side by side, with the same bits either way.
        */

        /** What the lines and the feedback keep of a value: the value itself, or 0 in place of a NaN
            or an infinity (a broken source upstream, or a sum that overflows), which the lines and
            the feedback would otherwise hand on to every later sample.
        */
        template <typename Float>
        Float keepable (Float value) noexcept
        {
            return select (isFinite (value), value, 0.0f);
        }

        template <typename Float>
        Float delayFor (Float depth, Float sine, SweepRange sweep, double sampleRate) noexcept
        {
            return toFloat (toDouble (((depth * sine + 1.0f) * sweep.span) * 0.5f + sweep.minimum) * sampleRate);
        }

        /** See readLine(); Int is int, or FloatLanes::Ints for four write positions. */
        template <typename Float, typename Int>
        Float readAt (const float* line, int length, Int writeIndex, Float delay) noexcept
        {
            const auto lineEnd = (float) length;
            auto position = toFloat (writeIndex) - delay;
            position = select (position < 0.0f, position + lineEnd, position);

            // Just below 0, the wrap can round up onto lineEnd itself, which is where 0 is.
            position = select (isWithin (position, 0.0f, lineEnd), position, 0.0f);

            const auto j = truncate (position);
            const auto f = position - toFloat (j);
            auto k = j + 1;
            k = select (k >= length, k - length, k);

            return f * gather (line, k) + (1.0f - f) * gather (line, j);
        }

        /** The dry/wet mix of the left channel: at impact 1, half the dry plus 0.75 of the delayed. */
        template <typename Float>
        Float mixLeft (Float dry, Float delayed, Float impact) noexcept
        {
            const auto m = impact * 0.5f;
            return toFloat (toDouble (delayed * m) * 1.5 + toDouble (dry * (1.0f - m)));
        }

        /** The same mix on the right channel, with the factors in the right channel's order. */
        template <typename Float>
        Float mixRight (Float dry, Float delayed, Float impact) noexcept
        {
            const auto m = impact * 0.5f;
            return toFloat (toDouble (m * delayed) * 1.5 + toDouble ((1.0f - m) * dry));
        }

        float advancePhaseBy (float phase, double increment) noexcept
        {
            phase = (float) ((double) phase + increment);

            if (phase > 1.0f)
                phase = phase - 1.0f;

            return phase;
        }

        //==============================================================================
        /** The lines and what a pass moves along them, held in locals for the pass. */
        struct Cursor
        {
            float* leftLine;
            float* rightLine;
            int length, writeIndex;
            float feedbackLeft, feedbackRight;
        };

        /** One frame's writes, reads, feedback and mix at sample i, one sample at a time. */
        inline void runFrame (Cursor& c, float* left, float* right, int i, float delayLeft, float delayRight,
                              float feedback, float impact) noexcept
        {
            const auto dryLeft = left[i];
            c.leftLine[c.writeIndex] = keepable (dryLeft + c.feedbackLeft);
            const auto delayedLeft = readAt (c.leftLine, c.length, c.writeIndex, delayLeft);
            c.feedbackLeft = feedback * delayedLeft;

            if (right != nullptr)
            {
                const auto dryRight = right[i];
                c.rightLine[c.writeIndex] = keepable (dryRight + c.feedbackRight);
                const auto delayedRight = readAt (c.rightLine, c.length, c.writeIndex, delayRight);
                c.feedbackRight = feedback * delayedRight;
                right[i] = mixRight (dryRight, delayedRight, impact);
            }

            if (++c.writeIndex >= c.length)
                c.writeIndex = 0;

            left[i] = mixLeft (dryLeft, delayedLeft, impact);
        }

        Cursor startPass (const DelayLines& lines) noexcept
        {
            return { lines.left.data(), lines.right.data(), lines.length, lines.writeIndex, lines.feedbackLeft, lines.feedbackRight };
        }

        void endPass (DelayLines& lines, const Cursor& c, float phase) noexcept
        {
            lines.writeIndex = c.writeIndex;
            lines.lfoPhase = phase;
            // Within the pass the next write takes the feedback through keepable(); what carries over
            // to the next block is checked here.
            lines.feedbackLeft = keepable (c.feedbackLeft);
            lines.feedbackRight = keepable (c.feedbackRight);
        }

        /** A parameter read at every sample, but checked, and converted, only when its bits change. */
        class CheckedParameter
        {
        public:
            explicit CheckedParameter (const Dsp::LiveParameter& p) noexcept : parameter (p), value (p.defaultValue) {}

            /** Reads the parameter; true when its bits differ from the last read's. */
            bool refresh() noexcept
            {
                const auto stored = parameter.loadAsStored();

                if (std::memcmp (&stored, &lastStored, sizeof (float)) == 0)
                    return false;

                lastStored = stored;
                value = parameter.orDefault (stored);
                return true;
            }

            float read() noexcept
            {
                refresh();
                return value;
            }

            const Dsp::LiveParameter& parameter;
            float value;   // the last read, NaN and infinities replaced by the default

        private:
            float lastStored = std::numeric_limits<float>::quiet_NaN();   // reads as the default
        };

        /** The quantiser of "bite", set up again only when the parameter moves. */
        struct BiteQuantiser
        {
            explicit BiteQuantiser (const Dsp::LiveParameter& bite) noexcept : parameter (bite)
            {
                quantiser.setLevels (std::exp2 (parameter.value));
            }

            float operator() (float x) noexcept
            {
                if (parameter.refresh())
                    quantiser.setLevels (std::exp2 (parameter.value));

                return quantiser (x);
            }

            CheckedParameter parameter;
            EffectModes::Quantiser quantiser;
        };
    }

    float advancePhase (float phase, float rate, double sampleRate) noexcept
    {
        return advancePhaseBy (phase, (double) rate / sampleRate);
    }

    float delayInSamples (float depth, float sine, SweepRange sweep, double sampleRate) noexcept
    {
        return delayFor (depth, sine, sweep, sampleRate);
    }

    float readLine (const float* line, int length, int writeIndex, float delay) noexcept
    {
        return readAt (line, length, writeIndex, delay);
    }

    void processPlain (DelayLines& lines, const Controls& controls, SweepRange sweep, double sampleRate,
                       float* channel, float* left, float* right, int numSamples) noexcept
    {
        if (lines.length <= 0)
            return;

        auto c = startPass (lines);
        auto phase = lines.lfoPhase;

        // The parameters are read at every sample, but what is derived from them (the quantiser's
        // step, the oscillator's increment) is only worth working out again when they move, and
        // only a new value needs the check for NaN and infinities. NaN never matches, so both
        // start fresh.
        auto lastBite = std::numeric_limits<float>::quiet_NaN();
        EffectModes::Quantiser quantiser;
        auto lastRate = std::numeric_limits<float>::quiet_NaN();
        auto phaseIncrement = 0.0;

        for (int i = 0; i < numSamples; ++i)
        {
            const auto bite = controls.bite.loadAsStored();

            if (bite != lastBite)
            {
                lastBite = bite;
                quantiser.setLevels (std::exp2 (controls.bite.orDefault (bite)));
            }

            channel[i] = quantiser (channel[i]);

            const auto phaseLeft = phase;
            const auto sineLeft = std::sin (phaseLeft * twoPi);
            const auto depth = controls.depth.load();
            const auto delayLeft = delayFor (depth, sineLeft, sweep, sampleRate);
            auto delayRight = 0.0f;

            if (right != nullptr)
            {
                auto phaseRight = phaseLeft + controls.phaserX.load();

                if (phaseRight > 1.0f)
                    phaseRight = phaseRight - 1.0f;

                // With "phaserX" at 0 both oscillators sit at the same phase: one sine serves both.
                const auto sineRight = phaseRight == phaseLeft ? sineLeft : std::sin (phaseRight * twoPi);
                delayRight = delayFor (depth, sineRight, sweep, sampleRate);
            }

            const auto rate = controls.rate.loadAsStored();

            if (rate != lastRate)
            {
                lastRate = rate;
                phaseIncrement = (double) controls.rate.orDefault (rate) / sampleRate;
            }

            phase = advancePhaseBy (phase, phaseIncrement);

            runFrame (c, left, right, i, delayLeft, delayRight, controls.feedback.load(), controls.impact.load());
        }

        endPass (lines, c, phase);
    }

    /*  The same pass in batches of 32 samples. The oscillator and the delays it sweeps depend on
        the parameters and the phase alone, not on the signal, so a batch works them out first,
        with four sines at a time. The signal then goes through four samples at a time whenever no
        read of the batch can see one of its writes: every delay longer than the batch, and no wrap
        of the write position within it. Otherwise, one sample at a time as in processPlain().
        Each parameter is still read once per sample, in sample order.
    */
    void process (DelayLines& lines, const Controls& controls, SweepRange sweep, double sampleRate,
                  float* channel, float* left, float* right, int numSamples) noexcept
    {
        if (lines.length <= 0)
            return;

        auto c = startPass (lines);
        auto phase = lines.lfoPhase;

        CheckedParameter depth (controls.depth), phaserX (controls.phaserX), rate (controls.rate),
            feedback (controls.feedback), impact (controls.impact);
        BiteQuantiser quantise (controls.bite);
        auto phaseIncrement = (double) rate.value / sampleRate;

        constexpr int batchSize = 32;
        const auto shortestDelay = (float) (batchSize + 2);
        const auto longestDelay = (float) (c.length - batchSize - 2);

        // Whole groups of four, beyond the batch's end too: lanes past it are worked out and unused.
        float depths[batchSize] {}, phasesLeft[batchSize] {}, phasesRight[batchSize] {};
        float sinesLeft[batchSize] {}, sinesRight[batchSize] {}, delaysLeft[batchSize] {}, delaysRight[batchSize] {};
        float feedbacks[batchSize] {}, impacts[batchSize] {}, delayedLeft[batchSize] {}, delayedRight[batchSize] {};
        float feedbackLeft[batchSize + 1] {}, feedbackRight[batchSize + 1] {};   // [0] from the frame before

        for (int batchStart = 0; batchStart < numSamples; batchStart += batchSize)
        {
            const auto n = std::min (batchSize, numSamples - batchStart);
            auto phasesApart = false;

            for (int k = 0; k < n; ++k)
            {
                phasesLeft[k] = phase;
                depths[k] = depth.read();

                if (right != nullptr)
                {
                    auto phaseRight = phase + phaserX.read();

                    if (phaseRight > 1.0f)
                        phaseRight = phaseRight - 1.0f;

                    phasesRight[k] = phaseRight;
                    phasesApart = phasesApart || phaseRight != phase;
                }

                if (rate.refresh())
                    phaseIncrement = (double) rate.value / sampleRate;

                phase = advancePhaseBy (phase, phaseIncrement);
            }

            for (int k = 0; k < n; k += 4)
                store (sinesLeft + k, load (phasesLeft + k) * twoPi);

            FastSine::sines (sinesLeft, sinesLeft, n);

            for (int k = 0; k < n; k += 4)
                store (delaysLeft + k, delayFor (load (depths + k), load (sinesLeft + k), sweep, sampleRate));

            if (right != nullptr)
            {
                // With "phaserX" at 0 both oscillators sit at the same phase: one sine serves both.
                if (phasesApart)
                {
                    for (int k = 0; k < n; k += 4)
                        store (sinesRight + k, load (phasesRight + k) * twoPi);

                    FastSine::sines (sinesRight, sinesRight, n);

                    for (int k = 0; k < n; ++k)
                        if (phasesRight[k] == phasesLeft[k])
                            sinesRight[k] = sinesLeft[k];
                }

                const auto* sines = phasesApart ? sinesRight : sinesLeft;

                for (int k = 0; k < n; k += 4)
                    store (delaysRight + k, delayFor (load (depths + k), load (sines + k), sweep, sampleRate));
            }

            for (int k = 0; k < n; ++k)
            {
                const auto i = batchStart + k;
                channel[i] = quantise (channel[i]);
                feedbacks[k] = feedback.read();
                impacts[k] = impact.read();
            }

            auto* l = left + batchStart;
            auto* r = right != nullptr ? right + batchStart : nullptr;
            auto inReach = n == batchSize && c.writeIndex + n <= c.length;

            for (int k = 0; k < n && inReach; ++k)
                inReach = delaysLeft[k] >= shortestDelay && delaysLeft[k] <= longestDelay
                          && (r == nullptr || (delaysRight[k] >= shortestDelay && delaysRight[k] <= longestDelay));

            if (! inReach)
            {
                for (int k = 0; k < n; ++k)
                    runFrame (c, l, r, k, delaysLeft[k], delaysRight[k], feedbacks[k], impacts[k]);

                continue;
            }

            // Every read lies before the batch's writes: read them all, then write and mix.
            feedbackLeft[0] = c.feedbackLeft;
            feedbackRight[0] = c.feedbackRight;

            for (int k = 0; k < batchSize; k += 4)
            {
                const auto positions = consecutive (c.writeIndex + k);
                const auto delayed = readAt (c.leftLine, c.length, positions, load (delaysLeft + k));
                store (delayedLeft + k, delayed);
                store (feedbackLeft + k + 1, load (feedbacks + k) * delayed);

                if (r != nullptr)
                {
                    const auto delayedR = readAt (c.rightLine, c.length, positions, load (delaysRight + k));
                    store (delayedRight + k, delayedR);
                    store (feedbackRight + k + 1, load (feedbacks + k) * delayedR);
                }
            }

            for (int k = 0; k < batchSize; k += 4)
            {
                const auto dry = load (l + k);
                store (c.leftLine + c.writeIndex + k, keepable (dry + load (feedbackLeft + k)));
                store (l + k, mixLeft (dry, load (delayedLeft + k), load (impacts + k)));

                if (r != nullptr)
                {
                    const auto dryR = load (r + k);
                    store (c.rightLine + c.writeIndex + k, keepable (dryR + load (feedbackRight + k)));
                    store (r + k, mixRight (dryR, load (delayedRight + k), load (impacts + k)));
                }
            }

            c.feedbackLeft = feedbackLeft[batchSize];

            if (r != nullptr)
                c.feedbackRight = feedbackRight[batchSize];

            c.writeIndex += batchSize;

            if (c.writeIndex >= c.length)
                c.writeIndex = 0;
        }

        endPass (lines, c, phase);
    }
}
