#include "PluginProcessor.h"

#include <cmath>

#include "state/SavedState.h"

void ZurizazAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    // Bypass, the panel, the preset and the handles live in their parameters, so the tree holds
    // them already.
    auto state = treeState.copyState();

    // A host may have pushed NaN into a parameter, which plays as its default. The framework can't
    // write NaN as a number, so the save holds the default, which is also what a restore gives.
    for (auto child : state)
    {
        if (child.hasProperty ("value") && std::isnan ((double) child["value"]))
            if (auto* parameter = treeState.getParameter (child["id"].toString()))
                child.setProperty ("value", parameter->convertFrom0to1 (parameter->getDefaultValue()), nullptr);
    }

    if (auto xml = state.createXml())
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
