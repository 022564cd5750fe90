#include "PluginEditor.h"

#include "EditorLayout.h"

void ZurizazAudioProcessorEditor::resized()
{
    presetBox.setBounds (EditorLayout::presetMenu);
    siteLinkButton.setBounds (EditorLayout::siteLinkButton);
    previousPresetButton.setBounds (EditorLayout::previousPresetButton);
    nextPresetButton.setBounds (EditorLayout::nextPresetButton);
    infoButton.setBounds (EditorLayout::infoButton);
    bypassButton.setBounds (EditorLayout::bypassButton);
    videoLinkButton.setBounds (EditorLayout::videoLinkButton);

    // A session or the host may store any height from 4 to 400; the handle is shown within its
    // column, and the stored height is left as it is.
    for (int i = 0; i < ZurizazAudioProcessor::numSteps; ++i)
        babyRadodButtons[(size_t) i].setBounds (EditorLayout::handles[i].layoutX,
                                                EditorLayout::displayedHandleY (audioProcessor.handleHeight[(size_t) i].load()),
                                                EditorLayout::handleWidth, EditorLayout::handleBoxHeight (i));

    lastStepIndicator.setBounds (EditorLayout::lastStepIndicator);
    leftKnobPanel.setBounds (EditorLayout::leftKnobPanel);
    rightKnobPanel.setBounds (EditorLayout::rightKnobPanel);
    infoOverlay.setBounds (EditorLayout::infoOverlay);

    // Each cover lies on its knob, and each readout sits right under it.
    for (auto& slot : knobSlots)
    {
        const auto position = EditorLayout::knobPosition (slot.parameter);
        slot.knob.setBounds (position.x, position.y, EditorLayout::knobSize, EditorLayout::knobSize);

        if (slot.cover != nullptr)
            slot.cover->setBounds (slot.knob.getBounds());

        slot.label.setBounds (slot.knob.getX() + EditorLayout::readoutOffsetX, slot.knob.getBottom(),
                              EditorLayout::readoutWidth, EditorLayout::readoutHeight);
    }
}
