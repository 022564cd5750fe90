#include <gtest/gtest.h>

#include "Parameters.h"
#include "PluginProcessor.h"

namespace
{
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
