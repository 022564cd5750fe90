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

    impactKnob.setBounds (70, 150, 64, 64);
    impactCover.setBounds (70, 150, 64, 64);
    fxKnob.setBounds (160, 150, 64, 64);
    speedKnob.setBounds (575, 150, 64, 64);
    biteKnob.setBounds (665, 150, 64, 64);
    biteCover.setBounds (665, 150, 64, 64);
    depthKnob.setBounds (70, 243, 64, 64);
    depthCover.setBounds (70, 243, 64, 64);
    rateKnob.setBounds (160, 243, 64, 64);
    rateCover.setBounds (160, 243, 64, 64);
    feedbackKnob.setBounds (575, 243, 64, 64);
    feedbackCover.setBounds (575, 243, 64, 64);
    phaserXKnob.setBounds (665, 243, 64, 64);
    phaserXCover.setBounds (665, 243, 64, 64);

    // Each readout sits right under its knob, 3 pixels further left.
    fxLabel.setBounds (157, 214, 70, 20);
    speedLabel.setBounds (572, 214, 70, 20);
    impactLabel.setBounds (67, 214, 70, 20);
    biteLabel.setBounds (662, 214, 70, 20);
    depthLabel.setBounds (67, 307, 70, 20);
    rateLabel.setBounds (157, 307, 70, 20);
    feedbackLabel.setBounds (572, 307, 70, 20);
    phaseLabel.setBounds (662, 307, 70, 20);
}
