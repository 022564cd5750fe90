#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>

#include "ProcessorHarness.h"
#include "dsp/ModulatedDelay.h"

using namespace ModulatedDelay;

namespace
{
    /** Delay state and controls a test can set up by hand. */
    struct DelayRig
    {
        explicit DelayRig (int lineLength)
            : left ((size_t) lineLength), right ((size_t) lineLength), length (lineLength)
        {
            // Each entry holds its own index, so a read reveals the position it was taken from.
            std::iota (left.begin(), left.end(), 0.0f);
            std::iota (right.begin(), right.end(), 0.0f);
        }

        std::vector<float> left, right;
        int length, writeIndex = 0;
        float lfoPhase = 0.0f, feedbackLeft = 0.0f, feedbackRight = 0.0f;
        DelayLines lines { left, right, length, writeIndex, lfoPhase, feedbackLeft, feedbackRight };

        std::atomic<float> impact { 1.0f }, depth { 0.0f }, rate { 0.0f }, feedback { 1.0f }, phaserX { 0.0f }, bite { 32.0f };
        Controls controls { { impact, 1.0f }, { depth, 0.0f }, { rate, 0.0f }, { feedback, 1.0f }, { phaserX, 0.0f }, { bite, 32.0f } };
    };
}

TEST (ModulatedDelay, SweepSpansAreTakenInSinglePrecision)
{
    EXPECT_EQ (glimmerSweep.span, std::nextafter (0.025f, 0.0f));
    EXPECT_EQ (quakeSweep.span, std::nextafter (0.004f, 0.0f));
}

TEST (ModulatedDelay, DelaysSweepBetweenTheModesLimits)
{
    EXPECT_NEAR (delayInSamples (0.0f, 0.7f, glimmerSweep, 44100.0), 771.75f, 1.0e-3f);
    EXPECT_NEAR (delayInSamples (1.0f, -1.0f, glimmerSweep, 44100.0), 220.5f, 1.0e-3f);
    EXPECT_NEAR (delayInSamples (1.0f, 1.0f, glimmerSweep, 44100.0), 1323.0f, 1.0e-3f);
    EXPECT_NEAR (delayInSamples (0.0f, -0.3f, quakeSweep, 48000.0), 144.0f, 1.0e-3f);
}

TEST (ModulatedDelay, OscillatorWrapsOnceAboveOne)
{
    EXPECT_NEAR (advancePhase (0.99f, 882.0f, 44100.0), 0.01f, 1.0e-6f);
    EXPECT_EQ (advancePhase (0.5f, 22050.0f, 44100.0), 1.0f);   // exactly 1 stays
    EXPECT_EQ (advancePhase (0.25f, 0.0f, 44100.0), 0.25f);
}

TEST (ModulatedDelay, ReadsInterpolateBetweenNeighboursAndWrapAroundTheLine)
{
    std::vector<float> line { 10.0f, 20.0f, 30.0f, 40.0f };

    EXPECT_EQ (readLine (line.data(), 4, 3, 1.5f), 25.0f);    // position 1.5
    EXPECT_EQ (readLine (line.data(), 4, 1, 1.25f), 17.5f);   // position 3.75: between 40 and line[0]
    EXPECT_EQ (readLine (line.data(), 4, 2, 0.0f), 30.0f);
}

// Just below 0, adding the line's length can round onto the length itself; that read must stay in.
TEST (ModulatedDelay, AReadRoundedOntoTheLinesEndStaysInside)
{
    const auto sentinel = std::numeric_limits<float>::quiet_NaN();

    for (auto [length, writeIndex, delay] : { std::tuple { 8, 0, 1.0e-7f }, { 88200, 44, 44.000004f }, { 88200, 0, 0.001f } })
    {
        SCOPED_TRACE (length);
        ASSERT_EQ ((float) writeIndex - delay + (float) length, (float) length);

        std::vector<float> line ((size_t) length + 1, 0.5f);
        line[0] = 0.25f;
        line[(size_t) length] = sentinel;   // one past the end

        EXPECT_EQ (readLine (line.data(), length, writeIndex, delay), 0.25f);
    }
}

TEST (ModulatedDelay, ANonsenseDelayReadsPositionZero)
{
    std::vector<float> line { 10.0f, 20.0f, 30.0f, 40.0f };
    EXPECT_EQ (readLine (line.data(), 4, 2, std::numeric_limits<float>::quiet_NaN()), 10.0f);
    EXPECT_EQ (readLine (line.data(), 4, 2, 100.0f), 10.0f);
}

TEST (ModulatedDelay, PhaserHalfPutsTheRightDelayAtItsMaximumWhenTheLeftIsAtItsMinimum)
{
    DelayRig rig (88200);
    rig.writeIndex = 5000;
    rig.lfoPhase = 0.75f;   // the left sine at -1
    rig.depth = 1.0f;
    rig.phaserX = 0.5f;   // the right sine at +1

    float left = 0.0f, right = 0.0f;
    process (rig.lines, rig.controls, glimmerSweep, 44100.0, &left, &left, &right, 1);

    // With feedback 1 the fed-back samples are the reads, and the lines hold their indices.
    EXPECT_NEAR (rig.feedbackLeft, 5000.0f - 220.5f, 1.0e-2f);
    EXPECT_NEAR (rig.feedbackRight, 5000.0f - 1323.0f, 1.0e-2f);
    EXPECT_EQ (rig.writeIndex, 5001);

    // At impact 1: half the dry plus 0.75 of the delayed.
    EXPECT_NEAR (left, 0.75f * (5000.0f - 220.5f), 1.0e-2f);
}

TEST (ModulatedDelay, PhaserZeroKeepsBothDelaysEqual)
{
    DelayRig rig (88200);
    rig.writeIndex = 3000;
    rig.depth = 1.0f;
    rig.rate = 1.5f;

    std::vector<float> left (200, 0.0f), right (200, 0.0f);
    process (rig.lines, rig.controls, quakeSweep, 48000.0, left.data(), left.data(), right.data(), 200);

    EXPECT_EQ (rig.feedbackLeft, rig.feedbackRight);
    EXPECT_EQ (left, right);
}

// The right oscillator's phase wraps only above 1: a sum of exactly 1.0 takes the float sine of
// 2 pi, which is not quite 0, and so sweeps the right delay a little away from the sine of 0.
TEST (ModulatedDelay, ARightPhaseOfExactlyOneIsNotWrapped)
{
    constexpr int length = 2000, writeIndex = 1000;
    DelayRig rig (length);
    rig.writeIndex = writeIndex;
    rig.lfoPhase = 0.75f;
    rig.phaserX = 0.25f;   // 0.75f + 0.25f is exactly 1.0f
    rig.depth = 1.0f;

    const auto sineOfOne = std::sin (1.0f * 6.2831855f);
    ASSERT_NE (sineOfOne, 0.0f);
    const auto unwrapped = readLine (rig.right.data(), length, writeIndex, delayInSamples (1.0f, sineOfOne, glimmerSweep, 44100.0));
    const auto wrapped = readLine (rig.right.data(), length, writeIndex, delayInSamples (1.0f, 0.0f, glimmerSweep, 44100.0));
    ASSERT_NE (unwrapped, wrapped);

    float left = 0.0f, right = 0.0f;
    process (rig.lines, rig.controls, glimmerSweep, 44100.0, &left, &left, &right, 1);

    // With feedback 1 the fed-back sample is the read.
    EXPECT_EQ (rig.feedbackRight, unwrapped);
}

TEST (ModulatedDelay, WithoutFeedbackTheLinesHoldTheQuantisedInput)
{
    DelayRig rig (1000);
    rig.feedback = 0.0f;
    rig.feedbackLeft = 0.5f;   // the last fed-back sample still joins the first write
    rig.bite = 4.5f;           // not rounded: 22.6 levels per unit

    std::vector<float> left { 0.3f, 0.3f, 0.3f }, right { -0.7f, -0.7f, -0.7f };
    const auto quantisedLeft = 0.3f - std::fmod (0.3f, 1.0f / std::exp2 (4.5f));
    process (rig.lines, rig.controls, glimmerSweep, 44100.0, left.data(), left.data(), right.data(), 3);

    EXPECT_EQ (rig.left[0], quantisedLeft + 0.5f);
    EXPECT_EQ (rig.left[1], quantisedLeft);
    EXPECT_EQ (rig.left[2], quantisedLeft);
    EXPECT_EQ (rig.right[1], -0.7f);   // only the pass's own channel is quantised
    EXPECT_EQ (rig.feedbackLeft, 0.0f);
}

TEST (ModulatedDelay, WithoutLinesAPassDoesNothing)
{
    std::vector<float> none;
    int length = 0, writeIndex = 0;
    float phase = 0.25f, feedbackLeft = 0.0f, feedbackRight = 0.0f;
    DelayLines lines { none, none, length, writeIndex, phase, feedbackLeft, feedbackRight };
    std::atomic<float> one { 1.0f };
    Controls controls { { one, 1.0f }, { one, 1.0f }, { one, 1.0f }, { one, 1.0f }, { one, 1.0f }, { one, 1.0f } };

    float left = 0.3f, right = 0.4f;
    process (lines, controls, glimmerSweep, 44100.0, &left, &left, &right, 1);
    EXPECT_EQ (left, 0.3f);
    EXPECT_EQ (phase, 0.25f);
}

//==============================================================================
TEST (ModulatedDelay, AStereoBlockWritesTheLinesAndTurnsTheOscillatorTwicePerFrame)
{
    for (auto fx : { 1.0f, 4.0f })
    {
        SCOPED_TRACE (fx);
        ZurizazAudioProcessor p;
        prepare (p, 44100.0);
        setRaw (p, ParameterIds::fx, fx);
        setRaw (p, ParameterIds::rate, 4.41f);   // 1e-4 cycles per pass-sample

        auto buffer = constantBuffer (2, 100, 0.25f);
        process (p, buffer);

        EXPECT_EQ (p.writeIndex, 200);
        EXPECT_NEAR (p.lfoPhase, 0.02f, 1.0e-6f);

        // First write: channel 0 freshly quantised, channel 1 as the block brought it.
        EXPECT_EQ (p.delayBufferLeft[0], 0.25f);
        EXPECT_EQ (p.delayBufferRight[0], 0.25f);

        // Second write of frame 0 (position 100): both channels as the first pass mixed them.
        // At impact 1 with nothing delayed yet that is half the dry signal.
        EXPECT_EQ (p.delayBufferLeft[100], 0.125f);
    }
}

//==============================================================================
namespace
{
    /** GLIMMER/QUAKE written plainly, one channel-sample at a time, with nothing cached. */
    struct PlainDelay
    {
        std::vector<float> left, right;
        int length, writeIndex = 0;
        float phase = 0.0f, feedbackLeft = 0.0f, feedbackRight = 0.0f;

        void run (float* x, float* l, float* r, float impact, float depth, float rate, float feedback,
                  float phaserX, float bite, SweepRange sweep, double sampleRate)
        {
            *x = *x - std::fmod (*x, 1.0f / std::exp2 (bite));
            left[(size_t) writeIndex] = *l + feedbackLeft;
            if (r != nullptr)
                right[(size_t) writeIndex] = *r + feedbackRight;

            const auto p = phase;
            const auto s1 = std::sin (p * 6.2831855f);
            auto p2 = p + phaserX;
            if (p2 > 1.0f)
                p2 = p2 - 1.0f;
            const auto s2 = std::sin (p2 * 6.2831855f);

            phase = (float) ((double) phase + (double) rate / sampleRate);
            if (phase > 1.0f)
                phase = phase - 1.0f;

            const auto read = [this] (const std::vector<float>& line, float d)
            {
                auto pos = (float) writeIndex - d;
                if (pos < 0.0f)
                    pos = pos + (float) length;
                const auto j = (int) pos;
                const auto f = pos - (float) j;
                const auto k = j + 1 >= length ? j + 1 - length : j + 1;
                return f * line[(size_t) k] + (1.0f - f) * line[(size_t) j];
            };

            const auto dL = (float) ((double) (((depth * s1 + 1.0f) * sweep.span) * 0.5f + sweep.minimum) * sampleRate);
            const auto dR = (float) ((double) (((depth * s2 + 1.0f) * sweep.span) * 0.5f + sweep.minimum) * sampleRate);
            const auto yL = read (left, dL);
            const auto yR = read (right, dR);
            feedbackLeft = feedback * yL;
            if (r != nullptr)
                feedbackRight = feedback * yR;

            if (++writeIndex == length)
                writeIndex = 0;

            const auto m = impact * 0.5f;
            *l = (float) ((double) (yL * m) * 1.5 + (double) (*l * (1.0f - m)));
            if (r != nullptr)
                *r = (float) ((double) (m * yR) * 1.5 + (double) ((1.0f - m) * *r));
        }
    };
}

// The pass caches what it derives from the parameters; the output must not move by a bit for it.
TEST (ModulatedDelay, PassesMatchThePlainPerSampleFormulaBitForBit)
{
    struct Settings
    {
        float phaserX, bite, rate;
        SweepRange sweep;
        int channels;
    };

    const Settings cases[] = {
        { 0.0f, 32.0f, 3.5f, glimmerSweep, 2 },
        { 0.3f, 32.0f, 3.5f, glimmerSweep, 2 },
        { 0.75f, 4.5f, 20.0f, quakeSweep, 2 },
        { 0.5f, 7.0f, 0.1f, quakeSweep, 1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.phaserX);
        constexpr int length = 4000, numSamples = 700;
        constexpr double sampleRate = 44100.0;

        DelayRig rig (length);
        std::fill (rig.left.begin(), rig.left.end(), 0.0f);
        std::fill (rig.right.begin(), rig.right.end(), 0.0f);
        rig.depth = 0.8f;
        rig.feedback = 0.45f;
        rig.impact = 0.7f;
        rig.phaserX = c.phaserX;
        rig.bite = c.bite;
        rig.rate = c.rate;
        rig.lfoPhase = 0.9f;
        rig.writeIndex = 3950;

        PlainDelay plain { rig.left, rig.right, length, rig.writeIndex, rig.lfoPhase };

        juce::Random random (3);
        std::vector<std::vector<float>> input (2, std::vector<float> (numSamples));
        for (auto& channel : input)
            for (auto& x : channel)
                x = random.nextFloat() * 2.0f - 1.0f;

        // Every pass moves "rate" and "bite" at sample 300, and each block starts from other values.
        const auto setControls = [&rig, &c] (int block, bool secondHalf)
        {
            rig.rate = c.rate * (1.0f + 0.25f * (float) block) * (secondHalf ? 1.5f : 1.0f);
            rig.bite = c.bite - (float) block - (secondHalf ? 0.5f : 0.0f);
        };

        constexpr int split = 300;

        for (int block = 0; block < 3; ++block)
        {
            auto fast = input, slow = input;
            float* fastRight = c.channels > 1 ? fast[1].data() : nullptr;

            for (int ch = 0; ch < c.channels; ++ch)
            {
                for (int i = 0; i < numSamples; ++i)
                {
                    setControls (block, i >= split);
                    plain.run (&slow[(size_t) ch][(size_t) i], &slow[0][(size_t) i],
                               c.channels > 1 ? &slow[1][(size_t) i] : nullptr,
                               rig.impact, rig.depth, rig.rate, rig.feedback, rig.phaserX, rig.bite, c.sweep, sampleRate);
                }
            }

            for (int ch = 0; ch < c.channels; ++ch)
            {
                for (auto [from, to] : { std::pair { 0, split }, { split, numSamples } })
                {
                    setControls (block, from == split);
                    process (rig.lines, rig.controls, c.sweep, sampleRate, fast[(size_t) ch].data() + from,
                             fast[0].data() + from, fastRight != nullptr ? fastRight + from : nullptr, to - from);
                }
            }

            ASSERT_EQ (fast[0], slow[0]) << "block " << block;
            ASSERT_EQ (fast[1], slow[1]) << "block " << block;
        }

        EXPECT_EQ (rig.left, plain.left);
        EXPECT_EQ (rig.right, plain.right);
        EXPECT_EQ (rig.writeIndex, plain.writeIndex);
        EXPECT_EQ (rig.lfoPhase, plain.phase);
        EXPECT_EQ (rig.feedbackLeft, plain.feedbackLeft);
        EXPECT_EQ (rig.feedbackRight, plain.feedbackRight);
    }
}

//==============================================================================
namespace
{
    /** One pass's own delay state, so that two passes can run side by side on the same input. */
    struct DelayState
    {
        explicit DelayState (int lineLength) : left ((size_t) lineLength), right ((size_t) lineLength), length (lineLength) {}

        DelayLines lines() { return { left, right, length, writeIndex, lfoPhase, feedbackLeft, feedbackRight }; }

        std::vector<float> left, right;
        int length, writeIndex = 0;
        float lfoPhase = 0.0f, feedbackLeft = 0.0f, feedbackRight = 0.0f;
    };

    bool sameBits (const std::vector<float>& a, const std::vector<float>& b)
    {
        return a.size() == b.size() && (a.empty() || std::memcmp (a.data(), b.data(), a.size() * sizeof (float)) == 0);
    }

    bool allFinite (const std::vector<float>& samples)
    {
        return std::all_of (samples.begin(), samples.end(), [] (float x)
                            { return std::isfinite (x); });
    }

    enum class Break
    {
        none,
        nonFiniteSamples,
        nonFiniteParameter,
        hugeSamples
    };
}

// process() may take any shortcut, but its output and state must be those of the plain pass,
// bit for bit: at every rate and layout, over blocks of any size with the parameters moving, and
// after broken input, from which every later block must come out finite.
TEST (ModulatedDelay, TheFastPassMatchesThePlainOneBitForBit)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    const float nonFinite[] = { std::numeric_limits<float>::quiet_NaN(), inf, -inf };
    constexpr int numBlocks = 24, brokenBlock = 10;
    int seed = 0;

    for (const auto sampleRate : { 48000.0, 44100.0, 96000.0, 22050.0, 8000.0 })
    {
        for (const auto sweep : { glimmerSweep, quakeSweep })
        {
            for (const int numChannels : { 2, 1 })
            {
                for (const auto broken : { Break::none, Break::nonFiniteSamples, Break::nonFiniteParameter, Break::hugeSamples })
                {
                    SCOPED_TRACE (testing::Message() << sampleRate << " Hz, span " << sweep.span << ", "
                                                     << numChannels << " channels, break " << (int) broken);
                    juce::Random random (++seed);
                    const auto length = (int) (2.0 * sampleRate);
                    DelayState fast (length), plain (length);

                    // Start anywhere, often close to the line's end, so that blocks cross the wrap.
                    const auto start = random.nextBool() ? length - 1 - random.nextInt (4000) : random.nextInt (length);
                    const auto phase = random.nextFloat();

                    for (auto* state : { &fast, &plain })
                    {
                        state->writeIndex = start;
                        state->lfoPhase = phase;
                    }

                    std::atomic<float> impact, depth, rate, feedback, phaserX, bite;
                    const Controls controls { { impact, 1.0f }, { depth, 0.2f }, { rate, 3.5f }, { feedback, 0.3f }, { phaserX, 0.0f }, { bite, 32.0f } };
                    std::atomic<float>* const parameters[] = { &impact, &depth, &rate, &feedback, &phaserX, &bite };

                    for (int block = 0; block < numBlocks; ++block)
                    {
                        const auto numSamples = random.nextInt (1025);
                        impact = 0.1f + 0.9f * random.nextFloat();
                        depth = random.nextFloat();
                        rate = 0.1f + 19.9f * random.nextFloat();
                        feedback = 0.6f * random.nextFloat();
                        phaserX = random.nextInt (3) == 0 ? 0.0f : random.nextFloat();   // 0: one sine for both
                        bite = random.nextBool() ? 32.0f : 2.0f + 30.0f * random.nextFloat();

                        std::vector<std::vector<float>> input ((size_t) numChannels, std::vector<float> ((size_t) numSamples));

                        for (auto& channel : input)
                            for (auto& x : channel)
                                x = random.nextFloat() * 2.0f - 1.0f;

                        if (block == brokenBlock && numSamples > 0)
                        {
                            if (broken == Break::nonFiniteSamples)
                                for (int n = 0; n < 5; ++n)
                                    input[(size_t) random.nextInt (numChannels)][(size_t) random.nextInt (numSamples)] = nonFinite[random.nextInt (3)];

                            if (broken == Break::nonFiniteParameter)
                                *parameters[random.nextInt (6)] = nonFinite[random.nextInt (3)];

                            if (broken == Break::hugeSamples)
                                for (auto& channel : input)
                                    for (auto& x : channel)
                                        x = random.nextBool() ? 3.0e38f : -3.0e38f;
                        }

                        auto fastOut = input, plainOut = input;

                        for (int ch = 0; ch < numChannels; ++ch)
                        {
                            const auto pass = [&] (decltype (&processPlain) processPass, DelayState& state, std::vector<std::vector<float>>& out)
                            {
                                auto lines = state.lines();
                                processPass (lines, controls, sweep, sampleRate, out[(size_t) ch].data(), out[0].data(),
                                             numChannels > 1 ? out[1].data() : nullptr, numSamples);
                            };

                            pass (&ModulatedDelay::process, fast, fastOut);
                            pass (processPlain, plain, plainOut);
                        }

                        for (int ch = 0; ch < numChannels; ++ch)
                        {
                            ASSERT_TRUE (sameBits (fastOut[(size_t) ch], plainOut[(size_t) ch])) << "block " << block << ", channel " << ch;

                            if (block > brokenBlock)
                            {
                                ASSERT_TRUE (allFinite (fastOut[(size_t) ch])) << "block " << block << ", channel " << ch;
                            }
                        }
                    }

                    EXPECT_TRUE (sameBits (fast.left, plain.left));
                    EXPECT_TRUE (sameBits (fast.right, plain.right));
                    EXPECT_EQ (fast.writeIndex, plain.writeIndex);
                    EXPECT_EQ (fast.lfoPhase, plain.lfoPhase);
                    EXPECT_EQ (fast.feedbackLeft, plain.feedbackLeft);
                    EXPECT_EQ (fast.feedbackRight, plain.feedbackRight);
                }
            }
        }
    }
}
