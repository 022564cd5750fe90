#include "PluginEditor.h"

void ZurizazAudioProcessorEditor::comboBoxChanged (juce::ComboBox*) {}
