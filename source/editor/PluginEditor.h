#pragma once

#include <array>
#include <memory>

#include <juce_audio_processors/juce_audio_processors.h>

#include "FilmStripKnob.h"
#include "KnobAttachment.h"
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
class ZurizazAudioProcessorEditor : public juce::AudioProcessorEditor,
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
        step's gain (StepLevels::levelForHeight) and height in the processor as part of the drag's gesture on
        that handle: the first placement that changes its height begins it, the release (mouseUp)
        or the closing of the window ends it. */
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

    // Their strips and attachments come from their knob slots.
    FilmStripKnob speedKnob, fxKnob, impactKnob, depthKnob, rateKnob, feedbackKnob, phaserXKnob, biteKnob;

    juce::ImageButton impactCover, depthCover, rateCover, feedbackCover, phaserXCover, biteCover;

    juce::Label fxLabel, speedLabel, impactLabel, depthLabel, rateLabel, feedbackLabel, phaseLabel, biteLabel;

private:
    /** A knob with its film strip, its cover (none for speed and fx, which every mode uses), its
        readout, its parameter and the attachment that binds it to the parameter. Where each
        stands is in EditorLayout. */
    struct KnobSlot
    {
        FilmStripKnob& knob;
        juce::Image filmStrip;
        juce::ImageButton* cover;
        juce::Label& label;
        Knob parameter;
        std::unique_ptr<KnobAttachment> attachment {};
    };

    /** The knob slots, indexed by Knob. */
    static std::array<KnobSlot, Knobs::count> makeKnobSlots (ZurizazAudioProcessorEditor&);

    KnobSlot& slotFor (Knob knob) noexcept { return knobSlots[Knobs::index (knob)]; }

    /** The order the knobs are bound to their parameters: host order. Each knob takes its
        parameter's value as it is bound; none waits on another. */
    static constexpr std::array<Knob, Knobs::count> attachmentOrder = Knobs::inHostOrder;

    /** The order the knobs, and then the covers of the ones that have them, are added: their
        stacking among the window's children, back to front. */
    static constexpr std::array<Knob, Knobs::count> childOrder { Knob::speed, Knob::fx, Knob::impact, Knob::depth,
                                                                 Knob::rate, Knob::bite, Knob::feedback, Knob::phaserX };

    /** The order the readouts are added, above the covers and below the information overlay, and
        the order paint sets their texts in. */
    static constexpr std::array<Knob, Knobs::count> readoutOrder { Knob::fx, Knob::speed, Knob::impact, Knob::depth,
                                                                   Knob::rate, Knob::feedback, Knob::phaserX, Knob::bite };

    //==============================================================================
    /** Fills the window and draws the background picture at the window's physical scale. */
    void drawBackground (juce::Graphics&);

    /** Draws the tempo and the version in the top bar, and marks the tempo's area for the next
        paint when the tempo has moved on. */
    void drawTopBarTexts (juce::Graphics&);

    /** Brings the children in line with the processor's published values: the readouts, the
        handles (their heights and lights), the preset menu, the covers and last the panel. */
    void refreshChildren();

    /** Sets the readouts' texts; they stay empty while the panel is closed. */
    void refreshReadouts();

    /** Shows bypass, the lit handles and the last-step indicator as the processor has them. */
    void refreshLights();

    /** Covers the knobs the mode does not use and hides their readouts. */
    void refreshCovers();

    /** Shows or hides the panel and its knobs as knobsShowing says; a closed panel has no covers. */
    void refreshPanel();

    /** Sets the box of handle index + 1 with its top edge at y, at the x a drag gives it. */
    void placeHandleBox (int index, int y);

    /** Stores the height of handle index + 1 as one gesture of its own, or inside the drag's
        gesture while a drag holds the handle. */
    void storeStepHandle (int index, int y);

    /** Begins the drag's gesture on handle index + 1, unless it is under way already. */
    void beginHandleGesture (int index);

    /** Ends the gestures of every handle the drag has taken. */
    void endHandleGestures();

    /** Shows the preset the editor's own buttons chose (id 0 clears the menu) and applies it at
        once, in this call. */
    void choosePreset (int presetId);

    /** Places the handles of preset presetId (1..12) and sets all its values in the processor. */
    void applyPreset (int presetId);

    /** Moves each handle whose stored height has changed elsewhere (the host, a session) to it. */
    void followStoredHandles();

    /** Selects the processor's preset in the menu when it has changed elsewhere, without
        applying it. */
    void followCurrentPreset();

    // The processor's preset that the menu last followed. The menu is moved only when the
    // processor's preset changes, so a choice on its way to comboBoxChanged, or a cleared
    // selection, stands.
    int followedPreset = 0;

    // The selection that following the processor last gave the menu, until the menu's next change
    // message or the buttons' next choice. A message that finds the menu there was sent for a choice
    // that a change made elsewhere (a restored session) has overtaken since, and applies nothing.
    static constexpr int noSelection = -1;
    int followedSelection = noSelection;

    // The handles whose drag gesture is under way: the handle pressed in its column, and each one
    // a sideways sweep has moved since. All end together at the release.
    std::array<bool, ZurizazAudioProcessor::numSteps> handleGestureOpen {};

    // Resolved once per editor: the labels and paint's texts share it.
    const juce::Font textFont;

    // The background drawn once at the size of the window's physical pixels; paint copies it one
    // to one instead of resampling the full-size picture at every frame.
    juce::Image scaledBackground;

    // The tempo paint saw last. The tempo text lies where no child's repaint reaches, so paint
    // marks its area itself when the processor's tempo has moved on.
    int lastPaintedTempo = Tempo::Text::noValue;

    // Last, so the attachments go before the knobs, covers and labels they refer to.
    std::array<KnobSlot, Knobs::count> knobSlots;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZurizazAudioProcessorEditor)
};
