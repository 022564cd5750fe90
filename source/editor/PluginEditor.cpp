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
    audioProcessor.presetChangeArmed = ! (preset >= 1 && preset <= (int) Presets::table.size());

    // The ranges come after the attachments and replace theirs with the knobs' own steps.
    for (auto knob : attachmentOrder)
    {
        auto& slot = slotFor (knob);
        const auto& parameter = Parameters::knobParameter (knob);
        slot.knob.setFilmStrip (slot.filmStrip, framesPerStrip, false);
        slot.attachment = std::make_unique<KnobAttachment> (audioProcessor.treeState, parameter.id, slot.knob);
        slot.knob.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
        slot.knob.setRange (parameter.minimum, parameter.maximum, parameter.knobStep);
    }

    presetBox.setTextWhenNothingSelected ("Presets");
    for (size_t i = 0; i < Presets::table.size(); ++i)
        presetBox.addItem (Presets::table[i].name, (int) i + 1);
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

    for (auto knob : childOrder)
        addAndMakeVisible (slotFor (knob).knob);

    for (auto& slot : knobSlots)
        slot.knob.setVisible (false);

    for (auto knob : childOrder)
    {
        auto& slot = slotFor (knob);

        if (slot.cover != nullptr)
        {
            setPicture (*slot.cover, EditorLayout::isOnLeftPanel (knob) ? leftCoverImage() : rightCoverImage());
            addAndMakeVisible (*slot.cover);
        }
    }

    for (auto knob : readoutOrder)
    {
        auto* label = &slotFor (knob).label;
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

std::array<ZurizazAudioProcessorEditor::KnobSlot, Knobs::count> ZurizazAudioProcessorEditor::makeKnobSlots (ZurizazAudioProcessorEditor& e)
{
    // Each knob takes the strip of the panel it sits on.
    const auto slot = [] (FilmStripKnob& knob, juce::ImageButton* cover, juce::Label& label, Knob parameter)
    {
        return KnobSlot { knob, EditorLayout::isOnLeftPanel (parameter) ? leftKnobStrip() : rightKnobStrip(), cover, label, parameter };
    };

    return { slot (e.speedKnob, nullptr, e.speedLabel, Knob::speed),
             slot (e.fxKnob, nullptr, e.fxLabel, Knob::fx),
             slot (e.impactKnob, &e.impactCover, e.impactLabel, Knob::impact),
             slot (e.depthKnob, &e.depthCover, e.depthLabel, Knob::depth),
             slot (e.rateKnob, &e.rateCover, e.rateLabel, Knob::rate),
             slot (e.feedbackKnob, &e.feedbackCover, e.feedbackLabel, Knob::feedback),
             slot (e.phaserXKnob, &e.phaserXCover, e.phaseLabel, Knob::phaserX),
             slot (e.biteKnob, &e.biteCover, e.biteLabel, Knob::bite) };
}
