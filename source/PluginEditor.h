#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include "PluginProcessor.h"

/** The plug-in's fixed 800 x 477 window. */
class ZurizazAudioProcessorEditor  : public juce::AudioProcessorEditor
{
public:
    explicit ZurizazAudioProcessorEditor (ZurizazAudioProcessor&);
    ~ZurizazAudioProcessorEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    ZurizazAudioProcessor& audioProcessor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZurizazAudioProcessorEditor)
};
