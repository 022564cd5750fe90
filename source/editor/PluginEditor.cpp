#include "PluginEditor.h"

#include "EditorImages.h"
#include "EditorLayout.h"
#include "Presets.h"

using namespace EditorImages;

namespace
{
    constexpr int framesPerStrip = 31;
}

ZurizazAudioProcessorEditor::ZurizazAudioProcessorEditor (ZurizazAudioProcessor& p)
    : AudioProcessorEditor (&p),
      audioProcessor (p),
      speedKnob (rightKnobStrip(), framesPerStrip, false),
      fxKnob (leftKnobStrip(), framesPerStrip, false),
      impactKnob (leftKnobStrip(), framesPerStrip, false),
      depthKnob (leftKnobStrip(), framesPerStrip, false),
      rateKnob (leftKnobStrip(), framesPerStrip, false),
      feedbackKnob (rightKnobStrip(), framesPerStrip, false),
      phaserXKnob (rightKnobStrip(), framesPerStrip, false),
      biteKnob (rightKnobStrip(), framesPerStrip, false),
      textFont (EditorImages::textFont()),
      knobSlots (makeKnobSlots (*this))
{
    // Lays every child out at once, before it has a picture or is added.
    setSize (EditorLayout::windowWidth, EditorLayout::windowHeight);

    // Selecting the current preset below sends one change message exactly when it names a preset;
    // the cleared flag swallows that one, so opening the window never re-applies the preset. With
    // nothing to select no message comes, so the flag is armed for the user's first choice. Read
    // once: preparation on another thread may change it meanwhile, and the flag must fit the
    // selection.
    const auto preset = audioProcessor.currentPreset.load();
    audioProcessor.presetChangeArmed = ! (preset >= 1 && preset <= (int) presetTable.size());

    namespace id = ParameterIds;
    auto& state = audioProcessor.treeState;
    speedAttachment = std::make_unique<KnobAttachment> (state, id::speed, speedKnob);
    fxAttachment = std::make_unique<KnobAttachment> (state, id::fx, fxKnob);
    impactAttachment = std::make_unique<KnobAttachment> (state, id::impact, impactKnob);
    depthAttachment = std::make_unique<KnobAttachment> (state, id::depth, depthKnob);
    rateAttachment = std::make_unique<KnobAttachment> (state, id::rate, rateKnob);
    feedbackAttachment = std::make_unique<KnobAttachment> (state, id::feedback, feedbackKnob);
    phaserXAttachment = std::make_unique<KnobAttachment> (state, id::phaserX, phaserXKnob);
    biteAttachment = std::make_unique<KnobAttachment> (state, id::bite, biteKnob);

    presetBox.setTextWhenNothingSelected ("Presets");
    for (size_t i = 0; i < presetTable.size(); ++i)
        presetBox.addItem (presetTable[i].name, (int) i + 1);
    presetBox.setSelectedId (preset, juce::sendNotificationAsync);
    followedPreset = preset;
    presetBox.addListener (this);
    addAndMakeVisible (presetBox);

    for (auto [button, picture] : { std::pair { &siteLinkButton, siteLogoImage() },
                                    std::pair { &videoLinkButton, videoLogoImage() },
                                    std::pair { &previousPresetButton, previousArrowImage() },
                                    std::pair { &nextPresetButton, nextArrowImage() },
                                    std::pair { &infoButton, infoButtonImage() },
                                    std::pair { &bypassButton, bypassOffImage() } })
    {
        setPicture (*button, picture);
        button->addListener (this);
        addAndMakeVisible (*button);
    }

    for (auto& handle : babyRadodButtons)
    {
        setPicture (handle, radodImage());
        handle.addListener (this);
        addAndMakeVisible (handle);
    }

    setPicture (lastStepIndicator, stepEightImage());
    addAndMakeVisible (lastStepIndicator);

    setPicture (leftKnobPanel, leftPanelImage());
    addAndMakeVisible (leftKnobPanel);
    leftKnobPanel.setVisible (false);
    setPicture (rightKnobPanel, rightPanelImage());
    addAndMakeVisible (rightKnobPanel);
    rightKnobPanel.setVisible (false);

    // The ranges come after the attachments and replace theirs with the knobs' own steps.
    for (auto& slot : knobSlots)
    {
        const auto& parameter = knobParameter (slot.parameterId);
        slot.knob.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
        slot.knob.setRange (parameter.minimum, parameter.maximum, parameter.knobStep);
        addAndMakeVisible (slot.knob);
    }

    for (auto& slot : knobSlots)
        slot.knob.setVisible (false);

    for (auto& slot : knobSlots)
    {
        if (slot.cover != nullptr)
        {
            // A knob on the left panel takes the left panel's cover.
            setPicture (*slot.cover, slot.position.x < EditorLayout::windowMiddleX ? leftCoverImage() : rightCoverImage());
            addAndMakeVisible (*slot.cover);
        }
    }

    // The readouts are stacked in an order of their own.
    for (auto* label : { &fxLabel, &speedLabel, &impactLabel, &depthLabel, &rateLabel, &feedbackLabel, &phaseLabel, &biteLabel })
    {
        label->setText ({}, juce::dontSendNotification);
        label->setFont (textFont);
        label->setJustificationType (juce::Justification::centred);
        label->setColour (juce::Label::textColourId, juce::Colours::wheat);

        // Read-only readouts that stay visible, empty, while the panel is closed: presses on them
        // belong to the handle columns beneath.
        label->setInterceptsMouseClicks (false, false);
        addAndMakeVisible (*label);
    }

    setPicture (infoOverlay, infoImage());
    infoOverlay.addListener (this);
    addAndMakeVisible (infoOverlay);
    infoOverlay.setVisible (false);
}

ZurizazAudioProcessorEditor::~ZurizazAudioProcessorEditor()
{
    // A window closed in the middle of a drag leaves the host no gesture waiting for its end.
    endHandleGestures();
}

std::array<ZurizazAudioProcessorEditor::KnobSlot, knobParameters.size()> ZurizazAudioProcessorEditor::makeKnobSlots (ZurizazAudioProcessorEditor& e)
{
    namespace id = ParameterIds;

    return { { { e.speedKnob, nullptr, e.speedLabel, id::speed, { 575, 150 } },
               { e.fxKnob, nullptr, e.fxLabel, id::fx, { 160, 150 } },
               { e.impactKnob, &e.impactCover, e.impactLabel, id::impact, { 70, 150 } },
               { e.depthKnob, &e.depthCover, e.depthLabel, id::depth, { 70, 243 } },
               { e.rateKnob, &e.rateCover, e.rateLabel, id::rate, { 160, 243 } },
               { e.biteKnob, &e.biteCover, e.biteLabel, id::bite, { 665, 150 } },
               { e.feedbackKnob, &e.feedbackCover, e.feedbackLabel, id::feedback, { 575, 243 } },
               { e.phaserXKnob, &e.phaserXCover, e.phaseLabel, id::phaserX, { 665, 243 } } } };
}
