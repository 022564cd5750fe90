#include "PluginEditor.h"

#include "Presets.h"

void ZurizazAudioProcessorEditor::comboBoxChanged (juce::ComboBox* box)
{
    // The editor's own initial selection announces itself once; that message mustn't apply the
    // preset again over what the user has changed since.
    if (! audioProcessor.presetChangeArmed)
    {
        audioProcessor.presetChangeArmed = true;
        return;
    }

    const auto id = box->getSelectedId();

    // A cleared selection (id 0) applies nothing and keeps the current preset.
    if (id >= 1 && id <= (int) presetTable.size())
    {
        const auto& preset = presetTable[(size_t) id - 1];

        // Each knob shows its value at once; its attachment tells the host from the message loop.
        fxKnob.setValue (preset.fx, juce::sendNotificationAsync);
        speedKnob.setValue (preset.speed, juce::sendNotificationAsync);
        impactKnob.setValue (preset.impact, juce::sendNotificationAsync);
        depthKnob.setValue (preset.depth, juce::sendNotificationAsync);
        rateKnob.setValue (preset.rate, juce::sendNotificationAsync);
        biteKnob.setValue (preset.bite, juce::sendNotificationAsync);
        feedbackKnob.setValue (preset.feedback, juce::sendNotificationAsync);
        phaserXKnob.setValue (preset.phaserX, juce::sendNotificationAsync);

        for (int i = 0; i < ZurizazAudioProcessor::numSteps; ++i)
            placeBabyRadod (i, preset.handleHeights[(size_t) i]);

        audioProcessor.setPresetFromEditor (id);
    }

    audioProcessor.presetChangeArmed = true;
}
