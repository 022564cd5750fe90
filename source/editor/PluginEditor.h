#pragma once

#include <array>
#include <memory>

#include <juce_audio_processors/juce_audio_processors.h>

#include "FilmStripKnob.h"
#include "processor/PluginProcessor.h"

/** The plug-in's fixed 800 x 477 window.

    Eight step handles stand in their columns; dragging on the background of a column moves that
    handle and sets its step's gain. A press in the free centre column shows or hides the knobs
    panel. The preset menu with its previous and next buttons, bypass, the information overlay and
    two link logos sit in the top bar.

    The editor has no timer: every paint reads the processor's published values and brings the
    labels, covers, lit handles, bypass picture and panel in line with them. Setting the handles'
    and bypass pictures marks them for repainting, so paint runs again at the next frame.
*/
class ZurizazAudioProcessorEditor  : public juce::AudioProcessorEditor,
                                     public juce::Button::Listener,
                                     public juce::ComboBox::Listener
{
public:
    explicit ZurizazAudioProcessorEditor (ZurizazAudioProcessor&);
    ~ZurizazAudioProcessorEditor() override;

    //==============================================================================
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;

    void paint (juce::Graphics&) override;
    void resized() override;

    void buttonClicked (juce::Button*) override;
    void comboBoxChanged (juce::ComboBox*) override;

    /** Puts handle index + 1 with its top edge at y (82..350) in its drag column, and stores the
        step's gain (levelForHeight) and height in the processor. */
    void placeBabyRadod (int index, int y);

    //==============================================================================
    ZurizazAudioProcessor& audioProcessor;

    juce::Image backgroundImage;

    std::array<juce::ImageButton, ZurizazAudioProcessor::numSteps> babyRadodButtons;
    juce::ImageButton lastStepIndicator;
    juce::ImageButton leftKnobPanel, rightKnobPanel;
    juce::ImageButton infoOverlay;

    juce::ComboBox presetBox;
    juce::ImageButton siteLinkButton, videoLinkButton;
    juce::ImageButton previousPresetButton, nextPresetButton;
    juce::ImageButton infoButton;
    juce::ImageButton bypassButton;

    FilmStripKnob speedKnob, fxKnob, impactKnob, depthKnob, rateKnob, feedbackKnob, phaserXKnob, biteKnob;

    juce::ImageButton impactCover, depthCover, rateCover, feedbackCover, phaserXCover, biteCover;

    juce::Label fxLabel, speedLabel, impactLabel, depthLabel, rateLabel, feedbackLabel, phaseLabel, biteLabel;

    // Declared after the knobs so they are destroyed first.
    using SliderAttachment = juce::AudioProcessorValueTreeState::SliderAttachment;
    std::unique_ptr<SliderAttachment> speedAttachment, fxAttachment, impactAttachment, depthAttachment,
                                      rateAttachment, feedbackAttachment, phaserXAttachment, biteAttachment;

private:
    /** Stores the height of handle index + 1 in the processor, which tells the host. */
    void storeStepHandle (int index, int y);

    /** Moves each handle whose stored height has changed elsewhere (the host, a session) to it. */
    void followStoredHandles();

    /** Selects the processor's preset in the menu when it has changed elsewhere, without
        applying it. */
    void followCurrentPreset();

    // The processor's preset that the menu last followed. The menu is moved only when the
    // processor's preset changes, so a choice on its way to comboBoxChanged, or a cleared
    // selection, stands.
    int followedPreset = 0;

    // Resolved once per editor: the labels and paint's texts share it.
    const juce::Font textFont;

    // The background drawn once at the size of the window's physical pixels; paint copies it one
    // to one instead of resampling the full-size picture at every frame.
    juce::Image scaledBackground;

    // The tempo paint saw last. The tempo text lies where no child's repaint reaches, so paint
    // marks its area itself when the processor's tempo has moved on.
    int lastPaintedTempo = TempoText::noValue;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZurizazAudioProcessorEditor)
};
