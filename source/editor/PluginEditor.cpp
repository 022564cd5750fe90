#include "PluginEditor.h"

#include "EditorImages.h"
#include "Presets.h"

using namespace EditorImages;

namespace
{
    constexpr int framesPerStrip = 31;
}

ZurizazAudioProcessorEditor::ZurizazAudioProcessorEditor (ZurizazAudioProcessor& p)
    : AudioProcessorEditor (&p),
      audioProcessor (p),
      speedKnob    (rightKnobStrip(), framesPerStrip, false),
      fxKnob       (leftKnobStrip(),  framesPerStrip, false),
      impactKnob   (leftKnobStrip(),  framesPerStrip, false),
      depthKnob    (leftKnobStrip(),  framesPerStrip, false),
      rateKnob     (leftKnobStrip(),  framesPerStrip, false),
      feedbackKnob (rightKnobStrip(), framesPerStrip, false),
      phaserXKnob  (rightKnobStrip(), framesPerStrip, false),
      biteKnob     (rightKnobStrip(), framesPerStrip, false),
      textFont (EditorImages::textFont())
{
    // Lays every child out at once, before it has a picture or is added.
    setSize (800, 477);

    // Selecting the current preset below sends one change message exactly when it names a preset;
    // the cleared flag swallows that one, so opening the window never re-applies the preset. With
    // nothing to select no message comes, so the flag is armed for the user's first choice. Read
    // once: preparation on another thread may change it meanwhile, and the flag must fit the
    // selection.
    const auto preset = audioProcessor.currentPreset.load();
    audioProcessor.presetChangeArmed = ! (preset >= 1 && preset <= (int) presetTable.size());

    auto& state = audioProcessor.treeState;
    speedAttachment    = std::make_unique<SliderAttachment> (state, "speed",    speedKnob);
    fxAttachment       = std::make_unique<SliderAttachment> (state, "fx",       fxKnob);
    impactAttachment   = std::make_unique<SliderAttachment> (state, "impact",   impactKnob);
    depthAttachment    = std::make_unique<SliderAttachment> (state, "depth",    depthKnob);
    rateAttachment     = std::make_unique<SliderAttachment> (state, "rate",     rateKnob);
    feedbackAttachment = std::make_unique<SliderAttachment> (state, "feedback", feedbackKnob);
    phaserXAttachment  = std::make_unique<SliderAttachment> (state, "phaserX",  phaserXKnob);
    biteAttachment     = std::make_unique<SliderAttachment> (state, "bite",     biteKnob);

    presetBox.setTextWhenNothingSelected ("Presets");
    for (size_t i = 0; i < presetTable.size(); ++i)
        presetBox.addItem (presetTable[i].name, (int) i + 1);
    presetBox.setSelectedId (preset, juce::sendNotificationAsync);
    followedPreset = preset;
    presetBox.addListener (this);
    addAndMakeVisible (presetBox);

    for (auto [button, picture] : { std::pair { &siteLinkButton,       siteLogoImage() },
                                    std::pair { &videoLinkButton,      videoLogoImage() },
                                    std::pair { &previousPresetButton, previousArrowImage() },
                                    std::pair { &nextPresetButton,     nextArrowImage() },
                                    std::pair { &infoButton,           infoButtonImage() },
                                    std::pair { &bypassButton,         bypassOffImage() } })
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
    struct KnobRange { FilmStripKnob& knob; double minimum, maximum, interval; };
    for (auto& [knob, minimum, maximum, interval] : { KnobRange { speedKnob,    1.0,          3.0,  1.0 },
                                                      KnobRange { fxKnob,       1.0,          5.0,  1.0 },
                                                      KnobRange { impactKnob,   0.1,          1.0,  0.01 },
                                                      KnobRange { depthKnob,    0.0,          1.0,  0.01 },
                                                      KnobRange { rateKnob,     (double) 0.1f, 20.0, (double) 0.02f },
                                                      KnobRange { biteKnob,     2.0,          32.0, 2.0 },
                                                      KnobRange { feedbackKnob, 0.0,          0.6,  0.005 },
                                                      KnobRange { phaserXKnob,  0.0,          1.0,  0.1 } })
    {
        knob.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
        knob.setRange (minimum, maximum, interval);
        addAndMakeVisible (knob);
    }

    for (auto* knob : { &fxKnob, &speedKnob, &impactKnob, &depthKnob, &rateKnob, &biteKnob, &feedbackKnob, &phaserXKnob })
        knob->setVisible (false);

    for (auto [cover, strip] : { std::pair { &impactCover,   leftCoverImage() },
                                 std::pair { &depthCover,    leftCoverImage() },
                                 std::pair { &rateCover,     leftCoverImage() },
                                 std::pair { &biteCover,     rightCoverImage() },
                                 std::pair { &feedbackCover, rightCoverImage() },
                                 std::pair { &phaserXCover,  rightCoverImage() } })
    {
        setPicture (*cover, strip);
        addAndMakeVisible (*cover);
    }

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

ZurizazAudioProcessorEditor::~ZurizazAudioProcessorEditor() = default;
