#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "ProcessorHarness.h"
#include "dsp/Tempo.h"

namespace
{
    constexpr auto notANumber = std::numeric_limits<double>::quiet_NaN();
    constexpr auto infinity = std::numeric_limits<double>::infinity();

    struct TempoCase
    {
        double sampleRate;
        double bpm;
        const char* text;
        int samplesPerBar;
    };

    // Runs one empty stereo block at bpm and returns the processor for inspection.
    void processAtTempo (ZurizazAudioProcessor& p, FakePlayHead& head, double bpm)
    {
        head.setBpm (bpm);
        auto buffer = constantBuffer (2, 0, 0.0f);
        process (p, buffer);
    }
}

//==============================================================================
TEST (BlockProcessing, TempoTextAndBarFollowTheHostInWholeBeatsPerSecond)
{
    const TempoCase cases[] = {
        { 44100.0, 60.0, "60", 176400 },
        { 44100.0, 90.0, "90", 176400 },
        { 44100.0, 119.99, "119", 176400 },
        { 44100.0, 120.0, "120", 88200 },
        { 44100.0, 127.9, "127", 88200 },
        { 44100.0, 179.9, "179", 88200 },
        { 44100.0, 180.0, "180", 58800 },
        { 44100.0, 240.0, "240", 44100 },
        { 48000.0, 120.0, "120", 96000 },
        { 96000.0, 120.0, "120", 192000 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.bpm);
        ZurizazAudioProcessor p;
        FakePlayHead head;
        p.setPlayHead (&head);
        prepare (p, c.sampleRate);

        processAtTempo (p, head, c.bpm);

        EXPECT_EQ (p.bpmText.toString(), c.text);
        EXPECT_EQ (p.samplesPerBar, c.samplesPerBar);
        EXPECT_EQ (p.positionInfo.bpm, c.bpm);
    }
}

TEST (BlockProcessing, APositionWithoutTempoMeans120AndNoPositionKeepsTheLast)
{
    ZurizazAudioProcessor p;
    FakePlayHead head;
    p.setPlayHead (&head);
    prepare (p, 44100.0);

    juce::AudioPlayHead::PositionInfo info;
    info.setBpm (60.0);
    info.setTimeInSamples (4410);
    info.setIsPlaying (true);
    head.position = info;
    auto buffer = constantBuffer (2, 16, 0.0f);
    process (p, buffer);
    EXPECT_EQ (p.bpmText.toString(), "60");
    EXPECT_EQ (p.positionInfo.timeInSamples, 4410);

    // A reported position starts from the defaults: no tempo means 120, and unsent fields reset.
    head.position = juce::AudioPlayHead::PositionInfo();
    process (p, buffer);
    EXPECT_EQ (p.bpmText.toString(), "120");
    EXPECT_EQ (p.samplesPerBar, 88200);
    EXPECT_EQ (p.positionInfo.timeInSamples, 0);
    EXPECT_FALSE (p.positionInfo.isPlaying);

    head.setBpm (90.0);
    process (p, buffer);

    head.position = {};
    process (p, buffer);
    EXPECT_EQ (p.bpmText.toString(), "90");
    EXPECT_EQ (p.samplesPerBar, 176400);

    p.setPlayHead (nullptr);
    process (p, buffer);
    EXPECT_EQ (p.bpmText.toString(), "90");
    EXPECT_EQ (p.samplesPerBar, 176400);
    EXPECT_EQ (p.positionInfo.bpm, 90.0);
}

TEST (BlockProcessing, AProcessorWithoutAPlayHeadRunsAt120)
{
    ZurizazAudioProcessor p;
    prepare (p, 48000.0);

    auto buffer = constantBuffer (2, 8, 0.0f);
    process (p, buffer);

    EXPECT_EQ (p.playHead, nullptr);
    EXPECT_EQ (p.bpmText.toString(), "120");
    EXPECT_EQ (p.samplesPerBar, 96000);
}

// A tempo that gives no whole beat per second, or more than an int holds, keeps the last usable bar
// (the bar of 120 bpm before any); its text is the tempo truncated and saturated, 0 for NaN.
TEST (BlockProcessing, UnusableTempoKeepsTheLastUsableBarAndShowsASafeText)
{
    struct BadTempo
    {
        double bpm;
        const char* text;
    };

    const BadTempo cases[] = {
        { 59.9, "59" },
        { 0.0, "0" },
        { -5.0, "-5" },
        { -120.0, "-120" },
        { notANumber, "0" },
        { infinity, "2147483647" },
        { -infinity, "-2147483647" },
        { 1.0e300, "2147483647" },
        { 2.0e11, "2147483647" },   // 3.3e9 beats per second: more than an int holds
        { -1.0e300, "-2147483647" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.bpm);

        // Before any usable tempo: the bar of 120 bpm.
        {
            ZurizazAudioProcessor p;
            FakePlayHead head;
            p.setPlayHead (&head);
            prepare (p, 44100.0);

            processAtTempo (p, head, c.bpm);
            EXPECT_EQ (p.bpmText.toString(), c.text);
            EXPECT_EQ (p.samplesPerBar, 88200);
        }

        // After one: that tempo's bar, also when the sample rate changes.
        {
            ZurizazAudioProcessor p;
            FakePlayHead head;
            p.setPlayHead (&head);
            prepare (p, 44100.0);
            processAtTempo (p, head, 90.0);

            processAtTempo (p, head, c.bpm);
            EXPECT_EQ (p.bpmText.toString(), c.text);
            EXPECT_EQ (p.samplesPerBar, 176400);

            prepare (p, 48000.0);
            processAtTempo (p, head, c.bpm);
            EXPECT_EQ (p.samplesPerBar, 192000);
        }
    }
}

TEST (BlockProcessing, ATempoFasterThanTheSampleRateGivesAnEmptyBarAndTheGateStepsEveryChunk)
{
    ZurizazAudioProcessor p;
    FakePlayHead head;
    p.setPlayHead (&head);
    prepare (p, 44100.0);

    // 1e10 bpm is 1.7e8 whole beats per second: a usable count whose beat is shorter than a sample.
    head.setBpm (1.0e10);
    auto buffer = constantBuffer (2, 128, 0.5f);
    process (p, buffer);

    EXPECT_EQ (p.samplesPerBar, 0);
    EXPECT_EQ (p.currentStep, 2);
}

TEST (BlockProcessing, BarCastsAreSafeForAnySampleRate)
{
    EXPECT_EQ (Tempo::samplesPerBar (0.0, 2), 0);
    EXPECT_EQ (Tempo::samplesPerBar (-44100.0, 2), 0);
    EXPECT_EQ (Tempo::samplesPerBar (std::nan (""), 2), 0);
    EXPECT_EQ (Tempo::samplesPerBar (1.0e300, 1), 2147483644);
    EXPECT_EQ (Tempo::samplesPerBar (44100.0, 1000000), 0);
    EXPECT_EQ (Tempo::usableBeatsPerSecond (128849018820.0, 7), 2147483647);   // just fits an int
    EXPECT_EQ (Tempo::usableBeatsPerSecond (128849018880.0, 7), 7);            // 2^31 beats per second
}

//==============================================================================
TEST (BlockProcessing, BypassPassesTheInputAndHoldsTheGateWhileTheTempoFollows)
{
    ZurizazAudioProcessor p;
    FakePlayHead head;
    p.setPlayHead (&head);
    prepare (p, 44100.0);
    head.setBpm (120.0);

    setRaw (p, ParameterIds::fx, 2.0f);   // DISTORT would change every sample
    p.stepGain[0] = 0.5f;
    auto first = constantBuffer (2, 100, 0.5f);
    process (p, first);

    const auto clock = p.stepClock;
    const auto chunk = p.chunkCounter;
    const auto gain = p.previousGain;
    const auto phase = p.lfoPhase;

    p.bypassOn = true;
    setRaw (p, ParameterIds::fx, 5.0f);
    setRaw (p, ParameterIds::impact, 0.5f);
    head.setBpm (90.0);

    const std::vector<float> input { 0.3f, -0.7f, 1.5f, 0.0f, 0.25f };
    auto buffer = bufferOf (2, input);
    process (p, buffer);

    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < (int) input.size(); ++i)
            EXPECT_EQ (buffer.getSample (ch, i), input[(size_t) i]);

    EXPECT_EQ (p.stepClock, clock);
    EXPECT_EQ (p.chunkCounter, chunk);
    EXPECT_EQ (p.previousGain, gain);
    EXPECT_EQ (p.lfoPhase, phase);
    EXPECT_EQ (p.currentStep, 1);
    EXPECT_TRUE (p.stepLight[1].load());
    EXPECT_EQ (p.fxMode, 2);
    EXPECT_EQ (p.impactDisplay, 100);
    EXPECT_EQ (p.bpmText.toString(), "90");
    EXPECT_EQ (p.samplesPerBar, 176400);

    p.bypassOn = false;
    process (p, buffer);
    EXPECT_EQ (p.fxMode, 5);
    EXPECT_EQ (p.impactDisplay, 50);
}

//==============================================================================
TEST (BlockProcessing, TheClockCountsChannelSamplesInChunksOf256)
{
    ZurizazAudioProcessor p;
    prepare (p, 44100.0);

    auto block512 = constantBuffer (2, 512, 0.0f);
    process (p, block512);
    EXPECT_EQ (p.stepClock, 1024);
    EXPECT_EQ (p.chunkCounter, 0);

    ZurizazAudioProcessor q;
    prepare (q, 44100.0);
    auto block100 = constantBuffer (2, 100, 0.0f);
    process (q, block100);
    EXPECT_EQ (q.stepClock, 0);
    EXPECT_EQ (q.chunkCounter, 200);

    // 56 more channel-samples complete the chunk: 28 stereo frames do, 27 do not.
    auto block27 = constantBuffer (2, 27, 0.0f);
    process (q, block27);
    EXPECT_EQ (q.stepClock, 0);
    EXPECT_EQ (q.chunkCounter, 254);

    auto block1 = constantBuffer (2, 1, 0.0f);
    process (q, block1);
    EXPECT_EQ (q.stepClock, 256);
    EXPECT_EQ (q.chunkCounter, 0);

    // A one-channel block counts one channel-sample per frame.
    ZurizazAudioProcessor mono;
    ASSERT_TRUE (makeMono (mono));
    prepare (mono, 44100.0);
    auto monoBlock = constantBuffer (1, 100, 0.0f);
    process (mono, monoBlock);
    EXPECT_EQ (mono.chunkCounter, 100);
}

TEST (BlockProcessing, AZeroSampleBlockCountsNothingButRunsTheGate)
{
    ZurizazAudioProcessor p;
    prepare (p, 44100.0);
    p.stepGain[1] = 0.4f;
    p.chunkCounter = 17;
    p.stepClock = 22050;   // exactly one SUPERSONIC step at 120 bpm: not yet past it

    auto empty = constantBuffer (2, 0, 0.0f);
    process (p, empty);
    EXPECT_EQ (p.currentStep, 1);
    EXPECT_EQ (p.stepClock, 22050);
    EXPECT_EQ (p.chunkCounter, 17);
    EXPECT_TRUE (p.stepLight[1].load());

    // A faster speed brings the step length below the clock: the next block advances, empty or not.
    setRaw (p, ParameterIds::speed, 3.0f);
    process (p, empty);
    EXPECT_EQ (p.currentStep, 2);
    EXPECT_EQ (p.stepClock, 0);
    EXPECT_TRUE (p.stepLight[2].load());
    EXPECT_FALSE (p.stepLight[1].load());
    EXPECT_EQ (p.previousGain, 0.4f);
}

TEST (BlockProcessing, ModesTruncateTowardZero)
{
    struct Case
    {
        const char* id;
        float value;
        int expected;
    };

    const Case cases[] = {
        { ParameterIds::fx, 1.5f, 1 },
        { ParameterIds::fx, 2.99f, 2 },
        { ParameterIds::fx, 5.0f, 5 },
        { ParameterIds::speed, 2.999f, 2 },
        { ParameterIds::speed, 1.5f, 1 },
        { ParameterIds::speed, 1.0f, 1 },
        { ParameterIds::speed, 3.0f, 3 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (std::string (c.id) + " " + std::to_string (c.value));
        ZurizazAudioProcessor p;
        prepare (p, 44100.0);
        setRaw (p, c.id, c.value);

        auto buffer = constantBuffer (2, 4, 0.0f);
        process (p, buffer);

        EXPECT_EQ (std::string (c.id) == ParameterIds::fx ? p.fxMode.load() : p.speedMode.load(), c.expected);
    }
}

TEST (BlockProcessing, DisplayIntegersTruncateTheParameterProducts)
{
    ZurizazAudioProcessor p;
    prepare (p, 44100.0);
    auto buffer = constantBuffer (2, 4, 0.0f);
    process (p, buffer);

    expectReadoutsOfTheDefaults (p);

    setRaw (p, ParameterIds::rate, 0.1f);
    process (p, buffer);
    EXPECT_EQ (p.rateDisplay, 0);

    setRaw (p, ParameterIds::rate, 20.0f);
    setRaw (p, ParameterIds::bite, 12.9f);
    setRaw (p, ParameterIds::phaserX, std::nanf (""));
    process (p, buffer);
    EXPECT_EQ (p.rateDisplay, 100);
    EXPECT_EQ (p.biteDisplay, 12);
    EXPECT_EQ (p.phaseDisplay, 0);
}

//==============================================================================
// On a one-channel layout the stages may only touch channel 0. The buffer here carries a second
// channel that the layout does not use, holding a value no stage may read or change.
TEST (BlockProcessing, OneChannelBlocksRunTheStereoStagesOnChannelZeroAlone)
{
    for (auto fx : { 1.0f, 4.0f, 5.0f })
    {
        SCOPED_TRACE (fx);
        ZurizazAudioProcessor p;
        ASSERT_TRUE (makeMono (p));
        prepare (p, 44100.0);
        setRaw (p, ParameterIds::fx, fx);
        setRaw (p, ParameterIds::impact, 0.5f);
        setRaw (p, ParameterIds::bite, 2.0f);
        p.feedbackRight = 0.125f;

        auto buffer = constantBuffer (2, 64, 0.3f);
        for (int i = 0; i < 64; ++i)
            buffer.setSample (1, i, 0.7f);

        process (p, buffer);

        for (int i = 0; i < 64; ++i)
            ASSERT_EQ (buffer.getSample (1, i), 0.7f);

        EXPECT_TRUE (std::all_of (p.delayBufferRight.begin(), p.delayBufferRight.end(), [] (float x)
                                  { return x == 0.0f; }));
        EXPECT_EQ (p.feedbackRight, 0.125f);

        if (fx == 5.0f)
        {
            // Quantised to 0.25, then the level curve once: 0.25 * 0.75.
            EXPECT_EQ (buffer.getSample (0, 0), 0.1875f);
            EXPECT_EQ (buffer.getSample (0, 63), 0.1875f);
        }
        else
        {
            // One write per frame on one channel, holding channel 0 quantised.
            EXPECT_EQ (p.writeIndex, 64);
            EXPECT_EQ (p.delayBufferLeft[0], 0.25f);
        }
    }
}

//==============================================================================
namespace
{
    const float nonFiniteValues[] = { std::numeric_limits<float>::quiet_NaN(),
                                      std::numeric_limits<float>::infinity(),
                                      -std::numeric_limits<float>::infinity() };

    // Every parameter the audio thread reads.
    const char* const soundParameters[] = { ParameterIds::speed, ParameterIds::fx, ParameterIds::impact,
                                            ParameterIds::depth, ParameterIds::rate, ParameterIds::feedback,
                                            ParameterIds::phaserX, ParameterIds::bite };

    juce::AudioBuffer<float> noise (juce::Random& random, int numSamples = 300)
    {
        juce::AudioBuffer<float> buffer (2, numSamples);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < numSamples; ++i)
                buffer.setSample (ch, i, random.nextFloat() * 2.0f - 1.0f);

        return buffer;
    }

    bool allFinite (const juce::AudioBuffer<float>& buffer)
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                if (! std::isfinite (buffer.getSample (ch, i)))
                    return false;

        return true;
    }

    bool sameSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        for (int ch = 0; ch < 2; ++ch)
            if (std::memcmp (a.getReadPointer (ch), b.getReadPointer (ch), sizeof (float) * (size_t) a.getNumSamples()) != 0)
                return false;

        return true;
    }
}

// A NaN or an infinity once, in a sample or in a parameter, must not break the sound for good:
// the delay lines, the feedback and the oscillator carry their state from block to block.
TEST (BlockProcessing, ANonFiniteSampleOrParameterLeavesEveryLaterBlockFinite)
{
    std::vector<std::string> targets { "left input", "right input" };
    targets.insert (targets.end(), std::begin (soundParameters), std::end (soundParameters));

    for (int fx = 1; fx <= 5; ++fx)
    {
        for (const auto bad : nonFiniteValues)
        {
            for (const auto& target : targets)
            {
                SCOPED_TRACE ("fx " + std::to_string (fx) + ", " + target + " " + std::to_string (bad));
                ZurizazAudioProcessor p;
                prepare (p, 48000.0);
                setRaw (p, ParameterIds::fx, (float) fx);
                setRaw (p, ParameterIds::feedback, 0.6f);
                juce::Random random (fx);

                auto before = noise (random);
                process (p, before);
                ASSERT_TRUE (allFinite (before));

                auto broken = noise (random);

                if (target == "left input" || target == "right input")
                {
                    broken.setSample (target == "left input" ? 0 : 1, 123, bad);
                    process (p, broken);
                }
                else
                {
                    const auto previous = p.treeState.getRawParameterValue (target.c_str())->load();
                    setRaw (p, target.c_str(), bad);
                    process (p, broken);
                    setRaw (p, target.c_str(), previous);
                }

                for (int block = 0; block < 3; ++block)
                {
                    auto after = noise (random);
                    process (p, after);
                    ASSERT_TRUE (allFinite (after)) << "block " << block << " after";
                }

                // A phase stuck at NaN would still give finite samples, but the sweep would stand still.
                EXPECT_TRUE (std::isfinite (p.lfoPhase));
            }
        }
    }
}

// While a parameter holds NaN or an infinity, the block sounds and shows as at that parameter's
// default, the value a fresh processor starts from.
TEST (BlockProcessing, ANonFiniteParameterActsAsItsDefault)
{
    for (int fx = 1; fx <= 5; ++fx)
    {
        for (const auto* id : soundParameters)
        {
            for (const auto bad : nonFiniteValues)
            {
                SCOPED_TRACE ("fx " + std::to_string (fx) + ", " + id + " " + std::to_string (bad));
                ZurizazAudioProcessor atDefault, broken;

                for (auto* p : { &atDefault, &broken })
                {
                    prepare (*p, 48000.0);

                    if (std::string (id) != ParameterIds::fx)
                        setRaw (*p, ParameterIds::fx, (float) fx);
                }

                setRaw (broken, id, bad);
                juce::Random random (7);

                for (int block = 0; block < 2; ++block)
                {
                    auto expected = noise (random);
                    auto actual = expected;
                    process (atDefault, expected);
                    process (broken, actual);

                    ASSERT_TRUE (sameSamples (actual, expected)) << "block " << block;
                }

                EXPECT_EQ (broken.fxMode, atDefault.fxMode);
                EXPECT_EQ (broken.speedMode, atDefault.speedMode);
                EXPECT_EQ (broken.impactDisplay, atDefault.impactDisplay);
                EXPECT_EQ (broken.depthDisplay, atDefault.depthDisplay);
                EXPECT_EQ (broken.rateDisplay, atDefault.rateDisplay);
                EXPECT_EQ (broken.biteDisplay, atDefault.biteDisplay);
                EXPECT_EQ (broken.feedbackDisplay, atDefault.feedbackDisplay);
                EXPECT_EQ (broken.phaseDisplay, atDefault.phaseDisplay);
            }
        }
    }
}
