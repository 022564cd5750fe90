#include "PluginProcessor.h"

void ZurizazAudioProcessor::getStateInformation (juce::MemoryBlock&)
{
}

void ZurizazAudioProcessor::setStateInformation (const void*, int)
{
}
