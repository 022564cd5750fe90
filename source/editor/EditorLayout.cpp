#include "PluginEditor.h"

#include "HandleGeometry.h"

void ZurizazAudioProcessorEditor::resized()
{
    presetBox.setBounds (300, 3, 200, 21);
    siteLinkButton.setBounds (-8, -2, 110, 30);
    previousPresetButton.setBounds (270, -1, 30, 30);
    nextPresetButton.setBounds (500, -1, 30, 30);
    infoButton.setBounds (767, -1, 30, 30);
    bypassButton.setBounds (703, -1, 70, 30);

    // The top bar has room between the tempo text and the preset arrows.
    videoLinkButton.setBounds (190, -1, 60, 30);

    // A session or the host may store any height from 4 to 400; the handle is shown within its
    // column, and the stored height is left as it is.
    for (int i = 0; i < ZurizazAudioProcessor::numSteps; ++i)
        babyRadodButtons[(size_t) i].setBounds (HandleGeometry::handles[i].layoutX,
                                                HandleGeometry::displayedY (audioProcessor.handleHeight[(size_t) i].load()),
                                                HandleGeometry::width, HandleGeometry::boxHeight (i));

    lastStepIndicator.setBounds (334, 196, 132, 40);
    leftKnobPanel.setBounds (45, 130, 208, 196);
    rightKnobPanel.setBounds (548, 130, 208, 196);
    infoOverlay.setBounds (0, 77, 800, 405);

    // Each cover lies on its knob, and each readout sits right under it, 3 pixels further left.
    for (auto& slot : knobSlots)
    {
        slot.knob.setBounds (slot.position.x, slot.position.y, 64, 64);

        if (slot.cover != nullptr)
            slot.cover->setBounds (slot.knob.getBounds());

        slot.label.setBounds (slot.knob.getX() - 3, slot.knob.getBottom(), 70, 20);
    }
}
