#include "PluginProcessor.h"

#include "state/SavedState.h"

void ZurizazAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    // Bypass, the panel, the preset and the handles live in their parameters, so the tree holds
    // them already.
    if (auto xml = treeState.copyState().createXml())
        copyXmlToBinary (*xml, destData);   // one line: declaration, a space, the root element
}

void ZurizazAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    // Anything that is not our blob is dropped silently. The members follow the restored
    // parameters as the tree state sets them.
    if (auto loaded = SavedState::readTree (data, sizeInBytes, treeState.state.getType()))
    {
        SavedState::appendMissingParameters (*loaded, treeState);
        treeState.replaceState (*loaded);
    }
}
