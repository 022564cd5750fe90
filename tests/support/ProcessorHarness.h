#pragma once

#include <vector>

#include <gtest/gtest.h>

#include "PlayHeads.h"
#include "processor/PluginProcessor.h"

/** Writes a raw parameter value straight into the tree state's atomic, as the audio thread reads it
    (bypassing the parameter's 0.01 grid, so values such as 2.999 can be tried).
*/
inline void setRaw (ZurizazAudioProcessor& p, const char* id, float value)
{
    p.treeState.getRawParameterValue (id)->store (value);
}

/** Tells the processor its rate as a host would, then prepares it. */
inline void prepare (ZurizazAudioProcessor& p, double sampleRate, int blockSize = 512)
{
    p.setRateAndBufferSizeDetails (sampleRate, blockSize);
    p.prepareToPlay (sampleRate, blockSize);
}

/** Makes the processor mono in, mono out. */
inline bool makeMono (ZurizazAudioProcessor& p)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::mono());
    layout.outputBuses.add (juce::AudioChannelSet::mono());
    return p.setBusesLayout (layout);
}

/** A buffer whose every channel holds the given samples. */
inline juce::AudioBuffer<float> bufferOf (int numChannels, const std::vector<float>& samples)
{
    juce::AudioBuffer<float> buffer (numChannels, (int) samples.size());

    for (int ch = 0; ch < numChannels; ++ch)
        for (size_t i = 0; i < samples.size(); ++i)
            buffer.setSample (ch, (int) i, samples[i]);

    return buffer;
}

/** A buffer of numSamples on every channel, all at value. */
inline juce::AudioBuffer<float> constantBuffer (int numChannels, int numSamples, float value)
{
    return bufferOf (numChannels, std::vector<float> ((size_t) numSamples, value));
}

inline void process (ZurizazAudioProcessor& p, juce::AudioBuffer<float>& buffer)
{
    juce::MidiBuffer midi;
    p.processBlock (buffer, midi);
}

/** Expects the readouts that the parameters' defaults publish. Depth and feedback default to just
    below 0.2 and 0.3, so their readouts truncate to 19 and 29.
*/
inline void expectReadoutsOfTheDefaults (const ZurizazAudioProcessor& p)
{
    EXPECT_EQ (p.impactDisplay, 100);
    EXPECT_EQ (p.depthDisplay, 19);
    EXPECT_EQ (p.rateDisplay, 17);
    EXPECT_EQ (p.biteDisplay, 32);
    EXPECT_EQ (p.feedbackDisplay, 29);
    EXPECT_EQ (p.phaseDisplay, 0);
}
