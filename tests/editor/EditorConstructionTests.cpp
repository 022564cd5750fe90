#include "EditorFixture.h"

using namespace EditorImages;

using EditorConstruction = EditorFixture;

TEST_F (EditorConstruction, OpensAtItsFixedSize)
{
    std::unique_ptr<juce::AudioProcessorEditor> hosted (processor.createEditorIfNeeded());
    ASSERT_NE (dynamic_cast<ZurizazAudioProcessorEditor*> (hosted.get()), nullptr);
    EXPECT_EQ (hosted->getWidth(), 800);
    EXPECT_EQ (hosted->getHeight(), 477);
    processor.editorBeingDeleted (hosted.get());
}

TEST_F (EditorConstruction, ChildrenStackBackToFrontInTheOrderTheyAreAdded)
{
    auto& e = open();

    const std::vector<juce::Component*> expected {
        &e.presetBox,
        &e.siteLinkButton, &e.videoLinkButton, &e.previousPresetButton, &e.nextPresetButton, &e.infoButton, &e.bypassButton,
        &e.babyRadodButtons[0], &e.babyRadodButtons[1], &e.babyRadodButtons[2], &e.babyRadodButtons[3],
        &e.babyRadodButtons[4], &e.babyRadodButtons[5], &e.babyRadodButtons[6], &e.babyRadodButtons[7],
        &e.lastStepIndicator,
        &e.leftKnobPanel, &e.rightKnobPanel,
        &e.speedKnob, &e.fxKnob, &e.impactKnob, &e.depthKnob, &e.rateKnob, &e.biteKnob, &e.feedbackKnob, &e.phaserXKnob,
        &e.impactCover, &e.depthCover, &e.rateCover, &e.biteCover, &e.feedbackCover, &e.phaserXCover,
        &e.fxLabel, &e.speedLabel, &e.impactLabel, &e.depthLabel, &e.rateLabel, &e.feedbackLabel, &e.phaseLabel, &e.biteLabel,
        &e.infoOverlay
    };

    const std::vector<juce::Component*> actual (e.getChildren().begin(), e.getChildren().end());
    EXPECT_EQ (actual, expected);
}

TEST_F (EditorConstruction, BeforeTheFirstPaintOnlyPanelsKnobsAndOverlayAreHiddenAndNothingIsLit)
{
    // The processor's state must not show yet: paint brings it in.
    processor.bypassOn = true;
    processor.knobsShowing = true;
    for (auto& light : processor.stepLight)
        light = true;

    auto& e = open();

    std::vector<juce::Component*> hidden { &e.leftKnobPanel, &e.rightKnobPanel, &e.infoOverlay };
    for (auto* knob : knobs())
        hidden.push_back (knob);

    for (auto* child : e.getChildren())
    {
        const auto shouldShow = std::find (hidden.begin(), hidden.end(), child) == hidden.end();
        EXPECT_EQ (child->isVisible(), shouldShow) << child->getBounds().toString();
    }

    struct Pictured
    {
        juce::ImageButton& button;
        juce::Image picture;
    };
    std::vector<Pictured> pictures {
        { e.siteLinkButton, siteLogoImage() },
        { e.videoLinkButton, videoLogoImage() },
        { e.previousPresetButton, previousArrowImage() },
        { e.nextPresetButton, nextArrowImage() },
        { e.infoButton, infoButtonImage() },
        { e.bypassButton, bypassOffImage() },
        { e.lastStepIndicator, stepEightImage() },
        { e.leftKnobPanel, leftPanelImage() },
        { e.rightKnobPanel, rightPanelImage() },
        { e.impactCover, leftCoverImage() },
        { e.depthCover, leftCoverImage() },
        { e.rateCover, leftCoverImage() },
        { e.biteCover, rightCoverImage() },
        { e.feedbackCover, rightCoverImage() },
        { e.phaserXCover, rightCoverImage() },
        { e.infoOverlay, infoImage() }
    };
    for (auto& handle : e.babyRadodButtons)
        pictures.push_back ({ handle, radodImage() });

    for (auto& [button, picture] : pictures)
    {
        SCOPED_TRACE (button.getBounds().toString().toStdString());
        ASSERT_TRUE (picture.isValid());
        EXPECT_TRUE (button.getNormalImage() == picture);
        EXPECT_TRUE (button.getOverImage() == picture && button.getDownImage() == picture) << "the same in every state";
        EXPECT_TRUE (static_cast<juce::Component&> (button).hitTest (0, 0)) << "the whole box takes clicks, not only the picture";
    }

    for (auto* label : labels())
    {
        EXPECT_TRUE (label->getText().isEmpty());
        EXPECT_EQ (label->getFont(), textFont());
        EXPECT_EQ (label->getJustificationType(), juce::Justification (juce::Justification::centred));
        EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colour (0xfff5deb3));
    }
}

TEST_F (EditorConstruction, PresetBoxShowsTheCurrentPresetWithoutApplyingIt)
{
    struct Case
    {
        int preset;
        const char* text;
        bool armedAfter;
    };

    // The guard swallows the one change message that selecting a preset sends; with nothing to
    // select no message comes, so the guard stays armed for the user's first choice.
    for (auto [preset, text, armedAfter] : { Case { 0, "Presets", true }, Case { 1, "Default", false },
                                             Case { 4, "Destroy All Humans", false }, Case { 12, "Colonise", false } })
    {
        SCOPED_TRACE (preset);
        processor.currentPreset = preset;
        processor.presetChangeArmed = true;

        auto& e = open();

        EXPECT_EQ (e.presetBox.getSelectedId(), preset);

        // With nothing selected the box draws its placeholder over an empty text.
        const auto shown = preset == 0 ? e.presetBox.getTextWhenNothingSelected() : e.presetBox.getText();
        EXPECT_EQ (shown, juce::String (text));
        EXPECT_EQ (e.presetBox.getNumItems(), 12);
        EXPECT_EQ (processor.presetChangeArmed.load(), armedAfter);
        editor.reset();
    }
}

TEST_F (EditorConstruction, KnobsMoveInTheirOwnStepsAndShowAnInBetweenParameterAtTheNearestStep)
{
    auto* bite = processor.treeState.getParameter (ParameterIds::bite);
    bite->setValueNotifyingHost (bite->convertTo0to1 (5.0f));

    auto& e = open();

    // The knob's own range replaces the attachment's, so the float-literal steps survive.
    EXPECT_EQ (e.rateKnob.getMinimum(), (double) 0.1f);
    EXPECT_EQ (e.rateKnob.getInterval(), (double) 0.02f);
    EXPECT_EQ (e.feedbackKnob.getInterval(), 0.005);
    EXPECT_EQ (e.biteKnob.getInterval(), 2.0);

    EXPECT_EQ (e.biteKnob.getValue(), 6.0);
    EXPECT_FLOAT_EQ (bite->convertFrom0to1 (bite->getValue()), 5.0f) << "showing the step does not move the parameter";
}

TEST_F (EditorConstruction, ClosingTheWindowLeavesTheProcessorAsItWas)
{
    processor.bypassOn = true;
    processor.knobsShowing = true;
    processor.currentPreset = 7;
    processor.handleHeight[5] = 123.5f;
    processor.stepGain[5] = 0.6f;

    open();
    paintOnce();
    paintOnce();

    const auto parametersBefore = processor.treeState.copyState().toXmlString();
    const auto armedBefore = processor.presetChangeArmed.load();

    editor.reset();

    EXPECT_TRUE (processor.bypassOn.load());
    EXPECT_TRUE (processor.knobsShowing.load());
    EXPECT_EQ (processor.currentPreset.load(), 7);
    EXPECT_EQ (processor.presetChangeArmed.load(), armedBefore);
    EXPECT_EQ (processor.handleHeight[5].load(), 123.5f);
    EXPECT_EQ (processor.stepGain[5].load(), 0.6f);
    EXPECT_EQ (processor.treeState.copyState().toXmlString(), parametersBefore);
}
