#include "PluginEditor.h"

void ZurizazAudioProcessorEditor::mouseDown (const juce::MouseEvent&) {}
void ZurizazAudioProcessorEditor::mouseDrag (const juce::MouseEvent&) {}
void ZurizazAudioProcessorEditor::mouseUp (const juce::MouseEvent&) {}
void ZurizazAudioProcessorEditor::placeBabyRadod (int, int) {}
void ZurizazAudioProcessorEditor::buttonClicked (juce::Button*) {}
