#include "PluginProcessor.h"

void ZurizazAudioProcessor::processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&)
{
    // Audio passes through unchanged for now.
}
