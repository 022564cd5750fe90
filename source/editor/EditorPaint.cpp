#include "PluginEditor.h"

#include "EditorImages.h"
#include "HandleGeometry.h"

namespace
{
    const juce::Rectangle<float> tempoTextArea   { 92.0f, 0.0f, 70.0f, 30.0f };
    const juce::Rectangle<float> versionTextArea { 682.0f, 0.0f, 70.0f, 30.0f };

    juce::String modeName (int fxMode)
    {
        switch (fxMode)
        {
            case 1:  return "GLIMMER";
            case 2:  return "DISTORT";
            case 3:  return "SILENCE";
            case 4:  return "QUAKE";
            case 5:  return "DESTROY";
            default: return "FX";
        }
    }

    juce::String speedName (int speedMode)
    {
        switch (speedMode)
        {
            case 1:  return "SUBSONIC";
            case 3:  return "HYPERSONIC";
            default: return "SUPERSONIC";
        }
    }

    /** In DESTROY the bite readout shows the crusher's bit depth, in the mode's own bands. */
    int biteReadout (int biteDisplay, int fxMode)
    {
        if (fxMode != 5)
            return biteDisplay;

        if (biteDisplay > 24)   return 8;
        if (biteDisplay == 24)  return 4;
        if (biteDisplay >= 13)  return 6;
        return 4;
    }
}

/*  The one place where the processor reaches the window. Every call does the same work, whatever
    the clip: setting the handles' and bypass pictures repaints those buttons, which brings the next
    paint at the next frame, so the window follows the processor without a timer.
*/
void ZurizazAudioProcessorEditor::paint (juce::Graphics& g)
{
    auto& p = audioProcessor;

    g.fillAll (getLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId));

    backgroundImage = EditorImages::backgroundPicture();

    if (backgroundImage.isValid())
    {
        // Stretching the 1600 x 954 picture resamples every pixel drawn, at every frame. The same
        // stretch done once into an image of the window's physical pixels gives the same pixels,
        // and copying them one to one costs a fraction of it. With a desktop or host scale the
        // window has more pixels than the editor has units, so the copy is kept at that size: one
        // at the editor's size would be resampled again and come out blurred.
        const auto scale = g.getInternalContext().getPhysicalPixelScaleFactor();
        const auto physicalWidth  = juce::roundToInt ((float) getWidth()  * scale);
        const auto physicalHeight = juce::roundToInt ((float) getHeight() * scale);

        if (scaledBackground.getWidth() != physicalWidth || scaledBackground.getHeight() != physicalHeight)
        {
            scaledBackground = juce::Image (backgroundImage.hasAlphaChannel() ? juce::Image::ARGB : juce::Image::RGB,
                                            physicalWidth, physicalHeight, true);
            juce::Graphics sg (scaledBackground);
            sg.addTransform (juce::AffineTransform::scale (scale));

            // Where the window's last pixels are only partly the picture's (715.5 rows at 1.5),
            // the fill shows through them as it does beneath a direct draw.
            sg.fillAll (getLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId));
            sg.drawImage (backgroundImage, getLocalBounds().toFloat(), juce::RectanglePlacement::stretchToFit);
        }

        g.drawImage (scaledBackground, getLocalBounds().toFloat(), juce::RectanglePlacement::stretchToFit);
    }

    const auto tempo = p.bpmText.get();

    g.setColour (juce::Colours::white);
    g.setFont (textFont);
    g.drawText ("BPM: " + juce::String (p.bpmText.toString()), tempoTextArea, juce::Justification::left, true);

    if (tempo != lastPaintedTempo)
    {
        lastPaintedTempo = tempo;
        repaint (tempoTextArea.toNearestInt());
    }

    g.setColour (juce::Colours::white);
    g.setFont (textFont);
    g.drawText ("V1.0", versionTextArea, juce::Justification::left, true);

    // Readouts: empty while the panel is closed.
    {
        const auto panelOpen = leftKnobPanel.isVisible();

        const auto showReadout = [panelOpen] (juce::Label& label, const juce::String& text)
        {
            label.setText (panelOpen ? text : juce::String(), juce::dontSendNotification);
            label.setJustificationType (juce::Justification::centred);
            label.setVisible (true);
        };

        showReadout (fxLabel,       modeName (p.fxMode));
        showReadout (speedLabel,    speedName (p.speedMode));
        showReadout (impactLabel,   "IMPACT: "   + juce::String (p.impactDisplay.load()));
        showReadout (depthLabel,    "DEPTH: "    + juce::String (p.depthDisplay.load()));
        showReadout (rateLabel,     "RATE: "     + juce::String (p.rateDisplay.load()));
        showReadout (feedbackLabel, "FEEDBACK: " + juce::String (p.feedbackDisplay.load()));
        showReadout (phaseLabel,    "PHASE: "    + juce::String (p.phaseDisplay.load()));
        showReadout (biteLabel,     "BITE: "     + juce::String (biteReadout (p.biteDisplay, p.fxMode)));
    }

    followStoredHandles();
    followCurrentPreset();

    EditorImages::setPicture (bypassButton, p.bypassOn ? EditorImages::bypassOnImage()
                                                       : EditorImages::bypassOffImage());

    for (size_t i = 0; i < babyRadodButtons.size(); ++i)
        EditorImages::setPicture (babyRadodButtons[i], p.stepLight[i] ? EditorImages::radodLitImage()
                                                                       : EditorImages::radodImage());

    lastStepIndicator.setVisible (p.stepLight[ZurizazAudioProcessor::numSteps]);

    juce::Component* const covers[] = { &impactCover, &biteCover, &depthCover, &rateCover, &feedbackCover, &phaserXCover };

    const auto setCovers = [&covers] (bool visible)
    {
        for (auto* cover : covers)
            cover->setVisible (visible);
    };

    // Covers and readouts: a knob the mode does not use lies under its cover, its readout hidden.
    {
        const auto panelOpen = leftKnobPanel.isVisible();

        const auto setReadouts = [] (std::initializer_list<juce::Label*> labels, bool visible)
        {
            for (auto* label : labels)
                label->setVisible (visible);
        };

        switch (p.fxMode.load())
        {
            case 1:
            case 4:
                setCovers (false);
                setReadouts ({ &impactLabel, &biteLabel, &depthLabel, &rateLabel, &feedbackLabel, &phaseLabel }, true);
                break;

            case 2:
                setCovers (panelOpen);
                impactCover.setVisible (false);
                setReadouts ({ &impactLabel }, true);
                setReadouts ({ &biteLabel, &depthLabel, &rateLabel, &feedbackLabel, &phaseLabel }, false);
                break;

            case 3:
                setCovers (panelOpen);
                setReadouts ({ &impactLabel, &biteLabel, &depthLabel, &rateLabel, &feedbackLabel, &phaseLabel }, false);
                break;

            case 5:
                setCovers (panelOpen);
                impactCover.setVisible (false);
                biteCover.setVisible (false);
                setReadouts ({ &impactLabel, &biteLabel }, true);
                setReadouts ({ &depthLabel, &rateLabel, &feedbackLabel, &phaseLabel }, false);
                break;

            default:
                setCovers (panelOpen);
                break;
        }
    }

    // The panel follows knobsShowing last, so a change made elsewhere reaches the readouts one paint later.
    const auto showing = p.knobsShowing.load();

    juce::Component* const panelAndKnobs[] = { &leftKnobPanel, &rightKnobPanel, &speedKnob, &fxKnob, &impactKnob,
                                               &depthKnob, &rateKnob, &feedbackKnob, &phaserXKnob, &biteKnob };

    for (auto* c : panelAndKnobs)
        c->setVisible (showing);

    if (! showing)
        setCovers (false);
}

void ZurizazAudioProcessorEditor::followStoredHandles()
{
    // A handle keeps its column's x (the layout's or a drag's); only its height follows.
    for (size_t i = 0; i < babyRadodButtons.size(); ++i)
    {
        auto& handle = babyRadodButtons[i];
        const auto y = HandleGeometry::displayedY (audioProcessor.handleHeight[i]);

        if (handle.getY() != y)
            handle.setTopLeftPosition (handle.getX(), y);
    }
}

void ZurizazAudioProcessorEditor::followCurrentPreset()
{
    const auto preset = audioProcessor.currentPreset.load();

    if (preset == followedPreset)
        return;

    followedPreset = preset;
    presetBox.setSelectedId (preset, juce::dontSendNotification);
}
