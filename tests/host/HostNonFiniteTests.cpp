#include <limits>

#include "FailOnJuceAssertion.h"
#include "HostedPluginTest.h"

// What broken sources upstream and careless hosts send now and then, through the real wrappers:
// samples that are NaN or infinite, and automation values that are NaN. In every effect mode the
// audio must be finite again one block later, and must stay so.

namespace
{
    const float nonFiniteValues[] = { std::numeric_limits<float>::quiet_NaN(),
                                      std::numeric_limits<float>::infinity(),
                                      -std::numeric_limits<float>::infinity() };

    void fillWithNoise (juce::AudioBuffer<float>& buffer, juce::Random& random)
    {
        for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (channel, i, random.nextFloat() * 2.0f - 1.0f);
    }

    /** Processes a block of noise; false when the output is not finite. */
    bool processNoise (juce::AudioPluginInstance& plugin, juce::Random& random, int numSamples = 512)
    {
        juce::AudioBuffer<float> buffer (2, numSamples);
        juce::MidiBuffer midi;
        fillWithNoise (buffer, random);
        plugin.processBlock (buffer, midi);
        return allFinite (buffer);
    }
}

class HostNonFinite : public HostedPluginTest
{
protected:
    void SetUp() override
    {
        HostedPluginTest::SetUp();

        if (plugin != nullptr)
        {
            plugin->prepareToPlay (48000.0, 512);
            fx = findParameter (*plugin, "Fx");
            ASSERT_NE (fx, nullptr);
        }
    }

    // "Fx" spans the effect modes 1 to 5.
    void chooseEffectMode (int mode) { fx->setValueNotifyingHost ((float) (mode - 1) / 4.0f); }

    juce::AudioProcessorParameter* fx = nullptr;
};

TEST_P (HostNonFinite, RandomNonFiniteInputSamplesLeaveTheNextBlocksFiniteInEveryMode)
{
    const NonFiniteOnPurpose nonFinite;
    juce::Random random (0x4a11);

    for (int mode = 1; mode <= 5; ++mode)
    {
        chooseEffectMode (mode);

        for (int round = 0; round < 20; ++round)
        {
            SCOPED_TRACE ("effect mode " + juce::String (mode) + ", round " + juce::String (round));

            // One to three broken samples anywhere in a block of any size.
            juce::AudioBuffer<float> broken (2, 1 + random.nextInt (512));
            fillWithNoise (broken, random);

            for (int k = 1 + random.nextInt (3); --k >= 0;)
                broken.setSample (random.nextInt (2), random.nextInt (broken.getNumSamples()),
                                  nonFiniteValues[random.nextInt (3)]);

            juce::MidiBuffer midi;
            plugin->processBlock (broken, midi);

            for (int block = 0; block < 2; ++block)
                ASSERT_TRUE (processNoise (*plugin, random)) << "block " << block << " after";
        }
    }
}

TEST_P (HostNonFinite, NaNAutomationOfAnyParameterLeavesTheAudioFinite)
{
    const NonFiniteOnPurpose nonFinite;
    const auto& parameters = plugin->getParameters();
    ASSERT_GE (parameters.size(), 19);
    juce::Random random (0x4a12);

    for (int mode = 1; mode <= 5; ++mode)
    {
        for (auto* parameter : parameters)
        {
            SCOPED_TRACE ("effect mode " + juce::String (mode) + ", " + parameter->getName (100));
            chooseEffectMode (mode);

            // NaN for a block, then a value in range again.
            parameter->setValueNotifyingHost (std::numeric_limits<float>::quiet_NaN());
            EXPECT_TRUE (processNoise (*plugin, random)) << "the block of the NaN";

            if (parameter == fx)
                chooseEffectMode (mode);
            else
                parameter->setValueNotifyingHost (random.nextFloat());

            for (int block = 0; block < 2; ++block)
                ASSERT_TRUE (processNoise (*plugin, random)) << "block " << block << " after";
        }
    }
}

ZURIZAZ_INSTANTIATE_FOR_EACH_FORMAT (HostNonFinite);
