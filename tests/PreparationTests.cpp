#include <limits>

#include <gtest/gtest.h>

#include "PluginProcessor.h"

namespace
{
    void setPlain (ZurizazAudioProcessor& p, const char* id, float plain)
    {
        auto* parameter = p.treeState.getParameter (id);
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (plain));
    }

    bool allZero (const std::vector<float>& line)
    {
        return std::all_of (line.begin(), line.end(), [] (float x) { return x == 0.0f; });
    }
}

TEST (Preparation, DelayLinesHoldTwoSecondsOfZerosAtEveryRate)
{
    ZurizazAudioProcessor p;

    for (auto [rate, length] : { std::pair { 44100.0, 88200 }, { 96000.0, 192000 }, { 22050.0, 44100 } })
    {
        SCOPED_TRACE (rate);
        std::fill (p.delayBufferLeft.begin(), p.delayBufferLeft.end(), 0.5f);
        std::fill (p.delayBufferRight.begin(), p.delayBufferRight.end(), -0.5f);
        p.writeIndex = 17;
        p.lfoPhase = 0.4f;
        p.previousGain = 0.3f;

        p.prepareToPlay (rate, 512);

        EXPECT_EQ (p.delayBufferLength, length);
        EXPECT_EQ (p.delayBufferLeft.size(), (size_t) length);
        EXPECT_EQ (p.delayBufferRight.size(), (size_t) length);
        EXPECT_TRUE (allZero (p.delayBufferLeft));
        EXPECT_TRUE (allZero (p.delayBufferRight));
        EXPECT_EQ (p.writeIndex, 0);
        EXPECT_EQ (p.lfoPhase, 0.0f);
        EXPECT_EQ (p.previousGain, 1.0f);
    }
}

// No interface runs at these rates: preparing for one neither throws nor misbehaves, and leaves no
// delay lines, so GLIMMER and QUAKE pass the audio through until a preparation at a real rate.
TEST (Preparation, ARateThatIsNotAnInterfacesGivesNoDelayLines)
{
    struct Case { double rate; int length; };

    const Case cases[] = {
        { std::numeric_limits<double>::quiet_NaN(), 0 },
        { std::numeric_limits<double>::infinity(), 0 },
        { -std::numeric_limits<double>::infinity(), 0 },
        { 0.0, 0 },
        { -48000.0, 0 },
        { 1.0e12, 0 },
        { 1000000.5, 0 },
        { 1000000.0, 2000000 },     // the highest rate taken
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.rate);
        ZurizazAudioProcessor p;
        p.prepareToPlay (48000.0, 512);

        p.setRateAndBufferSizeDetails (c.rate, 512);
        ASSERT_NO_THROW (p.prepareToPlay (c.rate, 512));

        EXPECT_EQ (p.delayBufferLength, c.length);
        EXPECT_EQ (p.delayBufferLeft.size(), (size_t) c.length);
        EXPECT_EQ (p.delayBufferRight.size(), (size_t) c.length);

        if (c.length == 0)
        {
            for (auto fx : { 1.0f, 4.0f })
            {
                p.treeState.getRawParameterValue ("fx")->store (fx);
                juce::AudioBuffer<float> buffer (2, 64);

                for (int i = 0; i < 64; ++i)
                    for (int ch = 0; ch < 2; ++ch)
                        buffer.setSample (ch, i, 0.3f - 0.01f * (float) i);

                const auto input = buffer;
                juce::MidiBuffer midi;
                p.processBlock (buffer, midi);

                for (int ch = 0; ch < 2; ++ch)
                    for (int i = 0; i < 64; ++i)
                        ASSERT_EQ (buffer.getSample (ch, i), input.getSample (ch, i)) << "fx " << fx;
            }
        }

        p.setRateAndBufferSizeDetails (44100.0, 512);
        p.prepareToPlay (44100.0, 512);
        EXPECT_EQ (p.delayBufferLength, 88200);
        EXPECT_EQ (p.delayBufferLeft.size(), 88200u);
    }
}

TEST (Preparation, PullsTheCarriersFromAFreshTree)
{
    ZurizazAudioProcessor p;
    p.bypassOn = true;
    p.knobsShowing = true;
    p.presetChangeArmed = true;

    p.prepareToPlay (44100.0, 512);

    EXPECT_FALSE (p.bypassOn);
    EXPECT_FALSE (p.knobsShowing);
    EXPECT_EQ (p.currentPreset, 0);
    EXPECT_TRUE (p.presetChangeArmed);   // left alone, so the next preset choice applies

    // The starting value just below 1 rounds to the whole pixel.
    for (auto& height : p.handleHeight)
        EXPECT_EQ (height.load(), 400.0f);

    for (auto& gain : p.stepGain)
        EXPECT_EQ (gain.load(), 1.0f);

    EXPECT_EQ (p.currentStep, 1);
}

TEST (Preparation, PullsSingleParameterValues)
{
    ZurizazAudioProcessor p;
    setPlain (p, "presets", 10.0f);
    setPlain (p, "babyRadod3", 0.5f);
    setPlain (p, "bypassOn", 1.0f);
    setPlain (p, "knobsShowing", 1.0f);

    p.prepareToPlay (48000.0, 256);

    EXPECT_EQ (p.currentPreset, 9);
    EXPECT_EQ (p.handleHeight[2].load(), 200.0f);
    EXPECT_TRUE (p.bypassOn);
    EXPECT_TRUE (p.knobsShowing);
}

TEST (Preparation, LeavesTheGateAndFeedbackWhereTheyStood)
{
    ZurizazAudioProcessor p;
    p.prepareToPlay (44100.0, 512);

    p.currentStep = 5;
    p.stepClock = 3072;
    p.chunkCounter = 100;
    p.feedbackLeft = 0.25f;
    p.feedbackRight = -0.125f;
    p.stepGain[2] = 0.4f;
    p.stepLight[5] = true;
    p.samplesPerBar = 88200;

    // The height carriers still stand at 400, outside the handles' range, so no gain is derived.
    p.prepareToPlay (96000.0, 512);

    EXPECT_EQ (p.currentStep, 5);
    EXPECT_EQ (p.stepClock, 3072);
    EXPECT_EQ (p.chunkCounter, 100);
    EXPECT_EQ (p.feedbackLeft, 0.25f);
    EXPECT_EQ (p.feedbackRight, -0.125f);
    EXPECT_EQ (p.stepGain[2].load(), 0.4f);
    EXPECT_TRUE (p.stepLight[5]);
    EXPECT_EQ (p.samplesPerBar, 88200);
}

TEST (HostQueries, ConstantAnswers)
{
    ZurizazAudioProcessor p;

    EXPECT_EQ (p.getName(), "Zurizaz");
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (p.acceptsMidi());
    EXPECT_FALSE (p.producesMidi());
    EXPECT_FALSE (p.isMidiEffect());
    EXPECT_TRUE (p.hasEditor());
    EXPECT_EQ (p.getLatencySamples(), 0);
    EXPECT_FALSE (p.supportsDoublePrecisionProcessing());
}

TEST (HostQueries, OneProgramWithAnEmptyName)
{
    ZurizazAudioProcessor p;

    EXPECT_EQ (p.getNumPrograms(), 1);
    EXPECT_EQ (p.getCurrentProgram(), 0);

    p.setCurrentProgram (3);
    p.changeProgramName (0, "Renamed");

    EXPECT_EQ (p.getCurrentProgram(), 0);
    for (auto index : { 0, 1, -1, 42 })
        EXPECT_EQ (p.getProgramName (index), "");
}

TEST (HostQueries, BusLayoutRule)
{
    using Set = juce::AudioChannelSet;

    struct Case { const char* name; juce::Array<Set> inputs; juce::Array<Set> outputs; bool accepted; };
    const Case cases[] = {
        { "mono to mono",          { Set::mono() },     { Set::mono() },     true },
        { "stereo to stereo",      { Set::stereo() },   { Set::stereo() },   true },
        { "mono to stereo",        { Set::mono() },     { Set::stereo() },   false },
        { "stereo to mono",        { Set::stereo() },   { Set::mono() },     false },
        { "no output bus",         { Set::stereo() },   {},                  false },
        { "disabled output",       { Set::stereo() },   { Set::disabled() }, false },
        { "surround output",       { Set::create5point1() }, { Set::create5point1() }, false },
        { "quad output",           { Set::quadraphonic() },  { Set::quadraphonic() },  false },
        { "stereo, no input bus",  {},                  { Set::stereo() },   false },
        { "stereo, disabled input",{ Set::disabled() }, { Set::stereo() },   false },
        { "extra buses ignored",   { Set::stereo(), Set::mono() }, { Set::stereo(), Set::create5point1() }, true },
        { "discrete two channels", { Set::discreteChannels (2) }, { Set::discreteChannels (2) }, false },
    };

    ZurizazAudioProcessor p;

    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses = c.inputs;
        layout.outputBuses = c.outputs;
        EXPECT_EQ (p.isBusesLayoutSupported (layout), c.accepted) << c.name;
    }
}
