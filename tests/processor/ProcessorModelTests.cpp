#include <gtest/gtest.h>

#include "ProcessorHarness.h"

TEST (ProcessorModel, DeclaresStereoInputAndOutputBuses)
{
    ZurizazAudioProcessor p;

    ASSERT_EQ (p.getBusCount (true), 1);
    ASSERT_EQ (p.getBusCount (false), 1);

    for (auto isInput : { true, false })
    {
        auto* bus = p.getBus (isInput, 0);
        EXPECT_EQ (bus->getName(), isInput ? "Input" : "Output");
        EXPECT_EQ (bus->getCurrentLayout(), juce::AudioChannelSet::stereo());
        EXPECT_TRUE (bus->isEnabled());
        EXPECT_TRUE (bus->isEnabledByDefault());
    }
}

TEST (ProcessorModel, ConstructionGivesEveryMemberItsStartValue)
{
    ZurizazAudioProcessor p;

    EXPECT_FALSE (p.bypassOn);
    EXPECT_FALSE (p.knobsShowing);
    EXPECT_EQ (p.currentPreset, 1);
    EXPECT_TRUE (p.presetChangeArmed);
    EXPECT_EQ (p.bpmText.toString(), "");
    EXPECT_EQ (p.stepClock, 0);
    EXPECT_EQ (p.currentStep, 1);
    EXPECT_EQ (p.chunkCounter, 0);
    EXPECT_EQ (p.chunkSize, 256);
    EXPECT_EQ (p.lfoPhase, 0.0f);
    EXPECT_EQ (p.feedbackLeft, 0.0f);
    EXPECT_EQ (p.feedbackRight, 0.0f);
    EXPECT_EQ (p.writeIndex, 0);
    EXPECT_EQ (p.delayBufferLength, 0);
    EXPECT_TRUE (p.delayBufferLeft.empty());
    EXPECT_TRUE (p.delayBufferRight.empty());

    for (auto& gain : p.stepGain)
        EXPECT_EQ (gain.load(), 1.0f);
    for (auto& light : p.stepLight)
        EXPECT_FALSE (light.load());
    for (auto& height : p.handleHeight)
        EXPECT_EQ (height.load(), 350.0f);

    EXPECT_EQ (p.positionInfo.bpm, 120.0);
    EXPECT_EQ (p.positionInfo.timeSigNumerator, 4);
    EXPECT_EQ (p.positionInfo.timeSigDenominator, 4);
    EXPECT_FALSE (p.positionInfo.isPlaying);

    // What the first block would publish from the parameters' defaults.
    EXPECT_EQ (p.fxMode, 1);
    EXPECT_EQ (p.speedMode, 2);
    expectReadoutsOfTheDefaults (p);
}

TEST (ProcessorModel, TwoInstancesShareNothing)
{
    std::unique_ptr<juce::AudioProcessor> a (createPluginFilter());
    std::unique_ptr<juce::AudioProcessor> b (createPluginFilter());
    ASSERT_NE (a.get(), b.get());

    auto& first = dynamic_cast<ZurizazAudioProcessor&> (*a);
    auto& second = dynamic_cast<ZurizazAudioProcessor&> (*b);

    first.bypassOn = true;
    first.stepGain[3] = 0.2f;
    first.handleHeight[5] = 100.0f;
    first.treeState.getParameter (ParameterIds::fx)->setValueNotifyingHost (1.0f);

    EXPECT_FALSE (second.bypassOn);
    EXPECT_EQ (second.stepGain[3].load(), 1.0f);
    EXPECT_EQ (second.handleHeight[5].load(), 350.0f);
    EXPECT_EQ (second.treeState.getRawParameterValue (ParameterIds::fx)->load(), 1.0f);
    EXPECT_EQ (first.treeState.getRawParameterValue (ParameterIds::fx)->load(), 5.0f);
}
