#include "PluginEditor.h"

#include "Presets.h"

void ZurizazAudioProcessorEditor::comboBoxChanged (juce::ComboBox* box)
{
    const auto id = box->getSelectedId();

    // The menu has been moved to follow the processor since this message was sent: the processor's
    // change (a restored session, say) came after the choice and stands.
    const auto overtaken = id == followedSelection;
    followedSelection = noSelection;

    // The editor's own initial selection announces itself once; that message mustn't apply the
    // preset again over what the user has changed since.
    if (! audioProcessor.presetChangeArmed)
    {
        audioProcessor.presetChangeArmed = true;
        return;
    }

    // A cleared selection (id 0) applies nothing and keeps the current preset.
    if (! overtaken && id >= 1 && id <= (int) Presets::table.size())
        applyPreset (id);

    audioProcessor.presetChangeArmed = true;
}

void ZurizazAudioProcessorEditor::choosePreset (int presetId)
{
    // The buttons' choice is the newest word, whatever the menu followed before.
    presetBox.setSelectedId (presetId, juce::dontSendNotification);
    followedSelection = noSelection;

    if (presetId >= 1 && presetId <= (int) Presets::table.size())
        applyPreset (presetId);
}

void ZurizazAudioProcessorEditor::applyPreset (int presetId)
{
    const auto& preset = Presets::table[(size_t) presetId - 1];

    // The preset moves the handles in gestures of its own, so a drag still under way ends first.
    endHandleGestures();

    // The menu shows this preset already; paint has nothing to follow.
    followedPreset = presetId;

    for (int i = 0; i < ZurizazAudioProcessor::numSteps; ++i)
        placeHandleBox (i, preset.handleHeights[(size_t) i]);

    // Every value goes to its parameter here, at once; the knobs follow their parameters in the
    // same call, and the gains and heights follow theirs.
    std::array<ZurizazAudioProcessor::KnobSetting, Knobs::count> knobs {};

    for (size_t i = 0; i < knobs.size(); ++i)
        knobs[i] = { Presets::knobOrder[i], preset.knobValues[Knobs::index (Presets::knobOrder[i])] };

    audioProcessor.applyPresetFromEditor (knobs, preset.handleHeights, presetId);
}
