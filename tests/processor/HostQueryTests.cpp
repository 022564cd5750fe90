#include <gtest/gtest.h>

#include "processor/PluginProcessor.h"

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

    struct Case
    {
        const char* name;
        juce::Array<Set> inputs;
        juce::Array<Set> outputs;
        bool accepted;
    };
    const Case cases[] = {
        { "mono to mono", { Set::mono() }, { Set::mono() }, true },
        { "stereo to stereo", { Set::stereo() }, { Set::stereo() }, true },
        { "mono to stereo", { Set::mono() }, { Set::stereo() }, false },
        { "stereo to mono", { Set::stereo() }, { Set::mono() }, false },
        { "no output bus", { Set::stereo() }, {}, false },
        { "disabled output", { Set::stereo() }, { Set::disabled() }, false },
        { "surround output", { Set::create5point1() }, { Set::create5point1() }, false },
        { "quad output", { Set::quadraphonic() }, { Set::quadraphonic() }, false },
        { "stereo, no input bus", {}, { Set::stereo() }, false },
        { "stereo, disabled input", { Set::disabled() }, { Set::stereo() }, false },
        { "extra buses ignored", { Set::stereo(), Set::mono() }, { Set::stereo(), Set::create5point1() }, true },
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
