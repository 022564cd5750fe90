#include "PluginEditor.h"

#include "EditorImages.h"
#include "EditorLayout.h"
#include "dsp/EffectModes.h"
#include "dsp/StepGate.h"

namespace
{
    /** In DESTROY the bite readout shows the crusher's bit depth, in the mode's own bands. */
    int biteReadout (int biteDisplay, EffectModes::EffectMode mode)
    {
        if (mode != EffectModes::EffectMode::destroy)
            return biteDisplay;

        return EffectModes::destroyBitDepth ((float) biteDisplay);
    }

    /** A knob's readout for its published int: speed names its mode, the others show their
        prefix and the int. fx names the mode read once for the whole paint, which bite's readout
        follows too. */
    juce::String readoutText (Knob knob, int published, EffectModes::EffectMode mode)
    {
        switch (knob)
        {
            case Knob::fx:
                return EffectModes::infoFor (mode).name;

            case Knob::speed:
                return StepGate::infoFor (StepGate::toSpeedMode (published)).name;

            case Knob::bite:
                return Parameters::knobParameter (knob).readoutPrefix + juce::String (biteReadout (published, mode));

            case Knob::impact:
            case Knob::depth:
            case Knob::rate:
            case Knob::feedback:
            case Knob::phaserX:
                break;
        }

        return Parameters::knobParameter (knob).readoutPrefix + juce::String (published);
    }
}

/*  The one place where the processor reaches the window. Every call does the same work, whatever
    the clip: setting the handles' and bypass pictures repaints those buttons, which brings the next
    paint at the next frame, so the window follows the processor without a timer.
*/
void ZurizazAudioProcessorEditor::paint (juce::Graphics& g)
{
    drawBackground (g);
    drawTopBarTexts (g);
    refreshChildren();
}

void ZurizazAudioProcessorEditor::drawBackground (juce::Graphics& g)
{
    g.fillAll (getLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId));

    backgroundImage = EditorImages::backgroundPicture();

    if (! backgroundImage.isValid())
        return;

    // Stretching the 1600 x 954 picture resamples every pixel drawn, at every frame. The same
    // stretch done once into an image of the window's physical pixels gives the same pixels,
    // and copying them one to one costs a fraction of it. With a desktop or host scale the
    // window has more pixels than the editor has units, so the copy is kept at that size: one
    // at the editor's size would be resampled again and come out blurred.
    const auto scale = g.getInternalContext().getPhysicalPixelScaleFactor();
    const auto physicalWidth = juce::roundToInt ((float) getWidth() * scale);
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

void ZurizazAudioProcessorEditor::drawTopBarTexts (juce::Graphics& g)
{
    auto& p = audioProcessor;
    const auto tempo = p.bpmText.get();

    g.setColour (juce::Colours::white);
    g.setFont (textFont);
    g.drawText ("BPM: " + juce::String (p.bpmText.toString()), EditorLayout::tempoText.toFloat(), juce::Justification::left, true);

    if (tempo != lastPaintedTempo)
    {
        lastPaintedTempo = tempo;
        repaint (EditorLayout::tempoText);
    }

    g.setColour (juce::Colours::white);
    g.setFont (textFont);
    g.drawText ("V1.0", EditorLayout::versionText.toFloat(), juce::Justification::left, true);
}

void ZurizazAudioProcessorEditor::refreshChildren()
{
    refreshReadouts();
    followStoredHandles();
    followCurrentPreset();
    refreshLights();
    refreshCovers();

    // The panel follows knobsShowing last, so a change made elsewhere reaches the readouts one paint later.
    refreshPanel();
}

void ZurizazAudioProcessorEditor::refreshReadouts()
{
    auto& p = audioProcessor;
    const auto panelOpen = leftKnobPanel.isVisible();
    const auto mode = EffectModes::toEffectMode (p.fxMode);

    const auto showReadout = [panelOpen] (juce::Label& label, const juce::String& text)
    {
        label.setText (panelOpen ? text : juce::String(), juce::dontSendNotification);
        label.setJustificationType (juce::Justification::centred);
        label.setVisible (true);
    };

    for (auto knob : readoutOrder)
        showReadout (slotFor (knob).label, readoutText (knob, p.knobReadout (knob).load(), mode));
}

void ZurizazAudioProcessorEditor::refreshLights()
{
    auto& p = audioProcessor;

    EditorImages::setPicture (bypassButton, p.bypassOn ? EditorImages::bypassOnImage()
                                                       : EditorImages::bypassOffImage());

    for (size_t i = 0; i < babyRadodButtons.size(); ++i)
        EditorImages::setPicture (babyRadodButtons[i], p.stepLight[i] ? EditorImages::radodLitImage()
                                                                      : EditorImages::radodImage());

    lastStepIndicator.setVisible (p.stepLight[ZurizazAudioProcessor::numSteps]);
}

void ZurizazAudioProcessorEditor::refreshCovers()
{
    // A knob the mode does not use lies under its cover (while the panel is open), its readout
    // hidden. An fx value outside the modes covers every knob and leaves the readouts shown.
    const auto panelOpen = leftKnobPanel.isVisible();
    const auto mode = EffectModes::toEffectMode (audioProcessor.fxMode.load());
    const auto& info = EffectModes::infoFor (mode);

    for (auto& slot : knobSlots)
    {
        if (slot.cover == nullptr)
            continue;

        const auto used = info.uses (slot.parameter);
        slot.cover->setVisible (panelOpen && ! used);

        if (mode != EffectModes::EffectMode::none)
            slot.label.setVisible (used);
    }
}

void ZurizazAudioProcessorEditor::refreshPanel()
{
    const auto showing = audioProcessor.knobsShowing.load();

    leftKnobPanel.setVisible (showing);
    rightKnobPanel.setVisible (showing);

    for (auto& slot : knobSlots)
    {
        slot.knob.setVisible (showing);

        if (! showing && slot.cover != nullptr)
            slot.cover->setVisible (false);
    }
}

void ZurizazAudioProcessorEditor::followStoredHandles()
{
    // A handle keeps its column's x (the layout's or a drag's); only its height follows.
    for (size_t i = 0; i < babyRadodButtons.size(); ++i)
    {
        auto& handle = babyRadodButtons[i];
        const auto y = EditorLayout::displayedHandleY (audioProcessor.handleHeight[i]);

        if (handle.getY() != y)
            handle.setTopLeftPosition (handle.getX(), y);
    }
}

void ZurizazAudioProcessorEditor::followCurrentPreset()
{
    const auto preset = audioProcessor.currentPreset.load();

    if (preset == followedPreset)
        return;

    // Changed elsewhere (the host, a restored session): a choice whose message is still on its
    // way to comboBoxChanged was made before this change and is overtaken by it.
    followedPreset = preset;
    presetBox.setSelectedId (preset, juce::dontSendNotification);
    followedSelection = presetBox.getSelectedId();
}
