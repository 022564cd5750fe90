#include "HostedPluginTest.h"
#include "PlayHeads.h"

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;

    // A 440 Hz sine at half scale, continuing from block to block.
    void fillWithSine (juce::AudioBuffer<float>& buffer, juce::int64 firstSample)
    {
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const auto phase = juce::MathConstants<double>::twoPi * 440.0 * (double) (firstSample + i) / sampleRate;
            const auto value = (float) (0.5 * std::sin (phase));

            for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
                buffer.setSample (channel, i, value);
        }
    }

}

// A transport playing at 120 bpm in 4/4, as a host's would be.
class HostedProcessing : public HostedPluginWithTransport<FakeTransport>
{
protected:
    // The host sets "Fx" to an effect mode 1 to 5 (its range is 1 to 5).
    void chooseEffectMode (int mode)
    {
        auto* fx = findParameter (*plugin, "Fx");
        ASSERT_NE (fx, nullptr);
        fx->setValueNotifyingHost ((float) (mode - 1) / 4.0f);
    }

    void runBlock (juce::AudioBuffer<float>& buffer)
    {
        juce::MidiBuffer midi;
        fillWithSine (buffer, transport.getTimeInSamples());
        plugin->processBlock (buffer, midi);
        transport.advance (buffer.getNumSamples());
    }
};

TEST_P (HostedProcessing, EveryEffectModeTurnsASineIntoFiniteAudioInEveryLayout)
{
    using Set = juce::AudioChannelSet;
    auto layouts = std::vector<Set> { Set::stereo() };

    if (isVst3())
        layouts.push_back (Set::mono());   // a mono track; the LV2's ports are stereo only

    for (const auto& channels : layouts)
    {
        SCOPED_TRACE (channels.getDescription());

        plugin->releaseResources();
        ASSERT_TRUE (plugin->setBusesLayout ({ { channels }, { channels } }));
        plugin->prepareToPlay (sampleRate, blockSize);

        juce::AudioBuffer<float> buffer (channels.size(), blockSize);

        for (int mode = 1; mode <= 5; ++mode)
        {
            SCOPED_TRACE ("effect mode " + juce::String (mode));
            chooseEffectMode (mode);

            // Half a second: past the step gate's first steps at 120 bpm.
            for (int block = 0; block < 48; ++block)
            {
                runBlock (buffer);
                ASSERT_TRUE (allFinite (buffer)) << "block " << block;
            }
        }
    }
}

TEST_P (HostedProcessing, SilenceModeWithEveryStepAtFullGainPassesTheSineUnchanged)
{
    plugin->prepareToPlay (sampleRate, blockSize);
    chooseEffectMode (3);

    juce::AudioBuffer<float> buffer (2, blockSize), input (2, blockSize);

    for (int block = 0; block < 8; ++block)
    {
        fillWithSine (input, transport.getTimeInSamples());
        runBlock (buffer);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < blockSize; ++i)
                ASSERT_NEAR (buffer.getSample (channel, i), input.getSample (channel, i), 1.0e-6f)
                    << "block " << block << ", channel " << channel << ", sample " << i;
    }
}

ZURIZAZ_INSTANTIATE_FOR_EACH_FORMAT (HostedProcessing);
