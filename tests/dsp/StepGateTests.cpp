#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "FloatBits.h"
#include "ProcessorHarness.h"
#include "dsp/StepGate.h"

using namespace FloatBits;
using namespace StepGate;

TEST (StepGate, StepLengthDividesTheBarBySpeed)
{
    const std::pair<int, int> cases[] = { { 1, 44100 }, { 2, 22050 }, { 3, 11025 }, { 0, 11025 }, { 7, 11025 } };

    for (auto [speed, length] : cases)
    {
        SCOPED_TRACE (speed);
        EXPECT_EQ (stepLength (88200, speed), length);
    }

    EXPECT_EQ (stepLength (88203, 3), 11025);   // truncated
}

TEST (StepGate, AdvancesOnlyPastTheStepLengthAndWrapsAfterEight)
{
    auto clock = 22050, step = 3;
    EXPECT_FALSE (advance (clock, step, 22050));
    EXPECT_EQ (step, 3);
    EXPECT_EQ (clock, 22050);

    clock += 256;
    EXPECT_TRUE (advance (clock, step, 22050));
    EXPECT_EQ (step, 4);
    EXPECT_EQ (clock, 0);

    // However far past, one step per block.
    clock = 1000000;
    step = 8;
    EXPECT_TRUE (advance (clock, step, 22050));
    EXPECT_EQ (step, 1);
}

TEST (StepGate, ClockCountsWholeChunksAndKeepsTheRemainder)
{
    struct Case
    {
        int counter, clock, count, counterAfter, clockAfter;
    };

    const Case cases[] = {
        { 0, 0, 1024, 0, 1024 },
        { 0, 0, 200, 200, 0 },
        { 200, 0, 55, 255, 0 },
        { 200, 0, 56, 0, 256 },
        { 255, 512, 0, 255, 512 },
        { 100, 2147483392, 1000, 76, 2147483392 },   // saturates at the last whole chunk
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.count);
        auto counter = c.counter, clock = c.clock;
        countChannelSamples (counter, clock, 256, c.count);
        EXPECT_EQ (counter, c.counterAfter);
        EXPECT_EQ (clock, c.clockAfter);
    }
}

// Each step writes its own flags and no other: start every case from all lit and from all dark.
TEST (StepGate, LightsShowTheHandleAfterTheSoundingStep)
{
    struct Case
    {
        int step;
        std::vector<int> dark, lit;
    };

    const Case cases[] = {
        { 1, { 0, 8 }, { 1 } },
        { 2, { 1 }, { 2 } },
        { 3, { 2 }, { 3 } },
        { 4, { 3 }, { 4 } },
        { 5, { 4 }, { 5 } },
        { 6, { 5 }, { 6 } },
        { 7, { 6 }, { 7 } },
        { 8, { 7 }, { 8, 0 } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.step);

        for (auto start : { false, true })
        {
            Lights lights;
            for (auto& light : lights)
                light = start;

            showStep (lights, c.step);

            for (int i = 0; i < 9; ++i)
            {
                const auto isDark = std::find (c.dark.begin(), c.dark.end(), i) != c.dark.end();
                const auto isLit = std::find (c.lit.begin(), c.lit.end(), i) != c.lit.end();
                EXPECT_EQ (lights[(size_t) i].load(), isLit || (start && ! isDark)) << "flag " << i;
            }
        }
    }
}

TEST (StepGate, WalkingTheStepsKeepsExactlyOneHandleLit)
{
    Lights lights;
    for (auto& light : lights)
        light = false;

    for (int step : { 1, 2, 3, 4, 5, 6, 7, 8, 1, 2 })
    {
        showStep (lights, step);
        int lit = 0;
        for (int i = 0; i < 8; ++i)
            lit += lights[(size_t) i] ? 1 : 0;

        EXPECT_EQ (lit, 1) << "step " << step;
        EXPECT_EQ (lights[8].load(), step == 8);
    }
}

//==============================================================================
TEST (StepGate, ANewGainRampsFromThePreviousOneOverTheBlock)
{
    auto buffer = constantBuffer (2, 4, 1.0f);
    auto previous = 1.0f;
    applyGain (buffer, previous, 0.5f);

    for (int ch = 0; ch < 2; ++ch)
    {
        EXPECT_EQ (buffer.getSample (ch, 0), 1.0f);
        EXPECT_EQ (buffer.getSample (ch, 1), 0.875f);
        EXPECT_EQ (buffer.getSample (ch, 2), 0.75f);
        EXPECT_EQ (buffer.getSample (ch, 3), 0.625f);
    }

    EXPECT_EQ (previous, 0.5f);

    buffer = constantBuffer (2, 4, 1.0f);
    applyGain (buffer, previous, 0.5f);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ (buffer.getSample (1, i), 0.5f);
}

TEST (StepGate, SteadyGainsScaleOrClearOrLeaveTheBlock)
{
    for (auto gain : { 1.0f, 0.3f, 0.0f })
    {
        SCOPED_TRACE (gain);
        const std::vector<float> input { 0.5f, -0.25f, 2.0f };
        auto buffer = bufferOf (2, input);
        auto previous = gain;
        applyGain (buffer, previous, gain);

        for (int i = 0; i < 3; ++i)
            EXPECT_EQ (buffer.getSample (0, i), input[(size_t) i] * gain);
    }
}

TEST (StepGate, AZeroSampleBlockTakesTheNewGainWithoutTouchingSamples)
{
    juce::AudioBuffer<float> empty (2, 0);
    auto previous = 1.0f;
    applyGain (empty, previous, 0.2f);
    EXPECT_EQ (previous, 0.2f);

    // A NaN on either side counts as a change.
    previous = std::nanf ("");
    applyGain (empty, previous, 0.2f);
    EXPECT_EQ (previous, 0.2f);
}

// The gate must give, bit for bit, what juce::AudioBuffer's own applyGainRamp gives (a plain
// per-channel, per-sample ramp, and its applyGain when the gains are the same), whatever the
// channels' alignment, whether they lie end to end, and whatever the gains and samples.
namespace
{
    const float infinity = std::numeric_limits<float>::infinity();
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    const float specialGains[] = { 1.0f, 0.0f, -0.0f, 0.5f, 0.3f, 1.7f, -0.6f, 1.0e-41f, infinity, notANumber };
    const int edgeSizes[] = { 0, 1, 2, 3, 7, 8, 9, 15, 16, 17, 31, 32, 33, 255, 256, 257, 511, 512, 513, 1023, 1024 };

    /** Where a first differs from b (both the same size), or a's size if nowhere. */
    size_t firstDifference (const std::vector<float>& a, const std::vector<float>& b)
    {
        size_t i = 0;
        while (i < a.size() && sameBits (a[i], b[i]))
            ++i;

        return i;
    }

    float anyGain (juce::Random& random)
    {
        const auto pick = random.nextInt ((int) std::size (specialGains) + 3);
        return pick < (int) std::size (specialGains) ? specialGains[pick] : random.nextFloat() * 2.0f;
    }

    // Quiet NaNs of either sign and with a payload, a signalling one, infinities, -0 and a denormal.
    const float specialSamples[] = { fromBits (0x7fc00000), fromBits (0xffc00000), fromBits (0x7fc12345), fromBits (0x7fa00001),
                                     infinity, -infinity, -0.0f, 1.0e-41f };

    float anySample (juce::Random& random)
    {
        return random.nextInt (40) == 0 ? specialSamples[random.nextInt ((int) std::size (specialSamples))]
                                        : random.nextFloat() * 4.0f - 2.0f;
    }

    /** A buffer over channels at the given float offsets in data. */
    juce::AudioBuffer<float> bufferOver (std::vector<float>& data, const std::vector<int>& starts, int numSamples)
    {
        std::vector<float*> channels;

        for (auto start : starts)
            channels.push_back (data.data() + start);

        return { channels.data(), (int) channels.size(), numSamples };
    }
}

TEST (StepGate, GainsAreTheBuffersOwnRampAndGainBitForBit)
{
    juce::Random random (20261210);
    int ramps = 0, steady = 0;

    for (int trial = 0; trial < 800; ++trial)
    {
        const auto numChannels = 1 + random.nextInt (3);
        const auto numSamples = trial < (int) std::size (edgeSizes) ? edgeSizes[trial] : random.nextInt (1025);
        const auto endToEnd = random.nextBool();

        // Channels end to end or apart, each starting at any 4-byte offset from a 32-byte boundary,
        // with samples on either side that nothing may write.
        constexpr int guard = 24;
        std::vector<int> starts;
        auto next = guard + random.nextInt (16);

        for (int ch = 0; ch < numChannels; ++ch)
        {
            starts.push_back (next);
            next += numSamples + (endToEnd ? 0 : 1 + random.nextInt (40));
        }

        std::vector<float> data ((size_t) (next + guard));
        for (auto& sample : data)
            sample = anySample (random);

        const auto startGain = anyGain (random);
        const auto endGain = random.nextInt (3) == 0 ? startGain : anyGain (random);
        const auto cleared = random.nextInt (10) == 0;

        SCOPED_TRACE (juce::String::formatted ("trial %d: %d x %d samples, %s, gain %g to %g%s", trial, numChannels,
                                               numSamples, endToEnd ? "end to end" : "apart", (double) startGain,
                                               (double) endGain, cleared ? ", cleared" : "")
                          .toStdString());

        auto expected = data;
        auto reference = bufferOver (expected, starts, numSamples);
        auto buffer = bufferOver (data, starts, numSamples);

        if (cleared)
        {
            reference.clear();
            buffer.clear();
        }

        const auto original = data;
        reference.applyGainRamp (0, numSamples, startGain, endGain);
        auto previous = startGain;
        applyGain (buffer, previous, endGain);

        // Where a NaN sample meets a NaN gain the product is one of the two NaNs, and which one the
        // buffer's own loop gives depends on the compiler that built it. The gate keeps the
        // sample's own, made quiet, as any product with a NaN sample and a number gives.
        for (size_t i = 0; i < expected.size(); ++i)
            if (std::isnan (original[i]) && std::isnan (expected[i]) && ! sameBits (expected[i], original[i]))
                expected[i] = quieted (original[i]);

        ASSERT_EQ (firstDifference (data, expected), data.size());
        EXPECT_TRUE (sameBits (previous, endGain));
        (startGain == endGain ? steady : ramps) += 1;
    }

    // Both paths were taken often.
    EXPECT_GT (ramps, 300);
    EXPECT_GT (steady, 200);
}

// The same in the processor: random block sizes, both layouts, the tempo moving and the step
// gains changing, so that steps come and go within a few blocks and ramp at each change.
TEST (StepGate, EveryGatedBlockIsTheBuffersOwnRampFromTheGainBefore)
{
    for (const auto mono : { false, true })
    {
        SCOPED_TRACE (mono ? "mono" : "stereo");
        ZurizazAudioProcessor p;
        if (mono)
        {
            ASSERT_TRUE (makeMono (p));
        }

        FakePlayHead head;
        p.setPlayHead (&head);
        prepare (p, 44100.0, 1024);
        setRaw (p, ParameterIds::fx, 3.0f);   // SILENCE: the gate alone changes the samples
        setRaw (p, ParameterIds::speed, 3.0f);

        juce::Random random (mono ? 7 : 8);
        const double tempos[] = { 120.0, 600.0, 1500.0, 3000.0 };
        int ramps = 0;

        for (int block = 0; block < 300; ++block)
        {
            if (block % 7 == 0)
                head.setBpm (tempos[random.nextInt ((int) std::size (tempos))]);

            if (block % 40 == 0)
                for (auto& gain : p.stepGain)
                    gain = random.nextBool() ? specialGains[random.nextInt (5)] : random.nextFloat();

            const auto numSamples = block < (int) std::size (edgeSizes) ? edgeSizes[block] : random.nextInt (1025);
            juce::AudioBuffer<float> buffer (mono ? 1 : 2, numSamples);

            for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
                for (int i = 0; i < numSamples; ++i)
                    buffer.setSample (ch, i, anySample (random));

            juce::AudioBuffer<float> expected (buffer);
            const auto gainBefore = p.previousGain;
            process (p, buffer);

            const auto gain = p.stepGain[(size_t) (p.currentStep - 1)].load();
            ASSERT_TRUE (sameBits (p.previousGain, gain)) << "block " << block;
            {
                // As processBlock runs: denormals flush to zero.
                juce::ScopedNoDenormals noDenormals;
                expected.applyGainRamp (0, numSamples, gainBefore, gain);
            }

            ramps += gainBefore != gain ? 1 : 0;

            for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
                ASSERT_EQ (std::memcmp (buffer.getReadPointer (ch), expected.getReadPointer (ch), sizeof (float) * (size_t) numSamples), 0)
                    << "block " << block << " of " << numSamples << ", channel " << ch;
        }

        EXPECT_GT (ramps, 50);
    }
}

//==============================================================================
TEST (StepGate, At120BpmSupersonicStepsEvery22BlocksOf512)
{
    ZurizazAudioProcessor p;
    FakePlayHead head;
    head.setBpm (120.0);
    p.setPlayHead (&head);
    prepare (p, 44100.0);
    setRaw (p, ParameterIds::fx, 3.0f);
    p.stepGain[1] = 0.5f;

    auto runBlock = [&p]
    {
        auto buffer = constantBuffer (2, 512, 1.0f);
        process (p, buffer);
        return buffer;
    };

    runBlock();
    EXPECT_TRUE (p.stepLight[1].load());   // step 1 lights handle 2

    for (int block = 2; block <= 21; ++block)
        runBlock();

    EXPECT_EQ (p.samplesPerBar, 88200);
    EXPECT_EQ (p.stepClock, 21504);
    EXPECT_EQ (p.currentStep, 1);

    // The 22nd block passes 22050 and moves to step 2, ramping to its gain.
    const auto out = runBlock();
    EXPECT_EQ (p.currentStep, 2);
    EXPECT_EQ (p.stepClock, 0);
    EXPECT_TRUE (p.stepLight[2].load());
    EXPECT_FALSE (p.stepLight[1].load());
    EXPECT_EQ (out.getSample (0, 0), 1.0f);
    EXPECT_EQ (out.getSample (1, 256), 0.75f);
    EXPECT_EQ (p.previousGain, 0.5f);

    const auto next = runBlock();
    EXPECT_EQ (next.getSample (0, 100), 0.5f);
}

TEST (StepGate, AnEditorGainChangeRampsInTheNextBlock)
{
    ZurizazAudioProcessor p;
    prepare (p, 44100.0);
    setRaw (p, ParameterIds::fx, 3.0f);

    auto buffer = constantBuffer (2, 4, 1.0f);
    process (p, buffer);
    EXPECT_EQ (buffer.getSample (0, 3), 1.0f);

    p.stepGain[0] = 0.5f;
    buffer = constantBuffer (2, 4, 1.0f);
    process (p, buffer);
    EXPECT_EQ (buffer.getSample (0, 1), 0.875f);
    EXPECT_EQ (buffer.getSample (1, 3), 0.625f);
}
