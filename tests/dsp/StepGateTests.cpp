#include <gtest/gtest.h>

#include "ProcessorHarness.h"
#include "dsp/StepGate.h"

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
