#include "PluginEditor.h"

ZurizazAudioProcessorEditor::ZurizazAudioProcessorEditor (ZurizazAudioProcessor& p)
    : AudioProcessorEditor (&p), audioProcessor (p)
{
    setSize (800, 477);
}

ZurizazAudioProcessorEditor::~ZurizazAudioProcessorEditor() = default;

void ZurizazAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (getLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId));
}

void ZurizazAudioProcessorEditor::resized()
{
}
