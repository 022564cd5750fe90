#include "EditorFixture.h"

using EditorLayout = EditorFixture;

TEST_F (EditorLayout, EveryChildHasItsFixedPlaceAndEachHandleItsOwnStoredHeight)
{
    for (size_t i = 0; i < processor.handleHeight.size(); ++i)
        processor.handleHeight[i] = 100.0f + 10.0f * (float) i;

    auto& e = open();
    auto& h = e.babyRadodButtons;

    const std::vector<std::pair<juce::Component*, juce::Rectangle<int>>> table {
        { &e.presetBox, { 300, 3, 200, 21 } },
        { &e.siteLinkButton, { -8, -2, 110, 30 } },
        { &e.previousPresetButton, { 270, -1, 30, 30 } },
        { &e.nextPresetButton, { 500, -1, 30, 30 } },
        { &e.infoButton, { 767, -1, 30, 30 } },
        { &e.bypassButton, { 703, -1, 70, 30 } },
        { &h[0], { 12, 100, 68, 125 } },
        { &h[1], { 79, 110, 68, 120 } },
        { &h[2], { 149, 120, 68, 120 } },
        { &h[3], { 220, 130, 68, 120 } },
        { &h[4], { 513, 140, 68, 120 } },
        { &h[5], { 582, 150, 68, 120 } },
        { &h[6], { 652, 160, 68, 120 } },
        { &h[7], { 720, 170, 68, 120 } },
        { &e.lastStepIndicator, { 334, 196, 132, 40 } },
        { &e.leftKnobPanel, { 45, 130, 208, 196 } },
        { &e.rightKnobPanel, { 548, 130, 208, 196 } },
        { &e.infoOverlay, { 0, 77, 800, 405 } },
        { &e.impactKnob, { 70, 150, 64, 64 } },
        { &e.impactCover, { 70, 150, 64, 64 } },
        { &e.fxKnob, { 160, 150, 64, 64 } },
        { &e.speedKnob, { 575, 150, 64, 64 } },
        { &e.biteKnob, { 665, 150, 64, 64 } },
        { &e.biteCover, { 665, 150, 64, 64 } },
        { &e.depthKnob, { 70, 243, 64, 64 } },
        { &e.depthCover, { 70, 243, 64, 64 } },
        { &e.rateKnob, { 160, 243, 64, 64 } },
        { &e.rateCover, { 160, 243, 64, 64 } },
        { &e.feedbackKnob, { 575, 243, 64, 64 } },
        { &e.feedbackCover, { 575, 243, 64, 64 } },
        { &e.phaserXKnob, { 665, 243, 64, 64 } },
        { &e.phaserXCover, { 665, 243, 64, 64 } },
        { &e.fxLabel, { 157, 214, 70, 20 } },
        { &e.speedLabel, { 572, 214, 70, 20 } },
        { &e.impactLabel, { 67, 214, 70, 20 } },
        { &e.biteLabel, { 662, 214, 70, 20 } },
        { &e.depthLabel, { 67, 307, 70, 20 } },
        { &e.rateLabel, { 157, 307, 70, 20 } },
        { &e.feedbackLabel, { 572, 307, 70, 20 } },
        { &e.phaseLabel, { 662, 307, 70, 20 } },
    };

    for (auto& [child, bounds] : table)
        EXPECT_EQ (child->getBounds(), bounds) << "child #" << e.getIndexOfChildComponent (child);

    // Every child but the video link is in the table; that one has a place of its own (below).
    EXPECT_EQ (table.size() + 1, (size_t) e.getNumChildComponents());
}

TEST_F (EditorLayout, StoredHeightsAreTruncatedAndShownWithinTheColumnButKeptAsTheyAre)
{
    // The parameter allows 4..400; a handle above 82 would cover the top bar's buttons, one below
    // 350 would stand half outside the window.
    for (auto [stored, top] : { std::pair { 82.9f, 82 }, { 349.9f, 349 }, { 82.0f, 82 }, { 350.0f, 350 }, { 350.5f, 350 }, { 400.0f, 350 }, { 81.9f, 82 }, { 4.0f, 82 } })
    {
        SCOPED_TRACE (stored);
        for (auto& height : processor.handleHeight)
            height = stored;
        for (auto& gain : processor.stepGain)
            gain = 0.7f;

        auto& e = open();

        for (size_t i = 0; i < e.babyRadodButtons.size(); ++i)
        {
            EXPECT_EQ (e.babyRadodButtons[i].getY(), top);
            EXPECT_EQ (processor.handleHeight[i].load(), stored);
            EXPECT_EQ (processor.stepGain[i].load(), 0.7f);
        }

        editor.reset();
    }
}

TEST_F (EditorLayout, AFreshInstancePreparedBeforeItsWindowOpensShowsItsHandlesInTheirColumns)
{
    // A host prepares a new instance before it opens the window. The handles' parameters start at
    // 350, the bottom of the column, but a session may have them at their highest, 400, or at their
    // lowest, 4.
    for (auto [parameterValue, storedHeight, top] : { std::tuple { 1.0f, 400.0f, 350 }, { 0.01f, 4.0f, 82 } })
    {
        SCOPED_TRACE (storedHeight);
        for (auto* id : ParameterIds::handleHeights)
        {
            auto* parameter = processor.treeState.getParameter (id);
            parameter->setValueNotifyingHost (parameter->convertTo0to1 (parameterValue));
        }

        processor.prepareToPlay (48000.0, 512);

        std::vector<float> gains;
        for (auto& gain : processor.stepGain)
            gains.push_back (gain.load());

        auto& e = open();
        constexpr int layoutX[] = { 12, 79, 149, 220, 513, 582, 652, 720 };

        for (size_t i = 0; i < e.babyRadodButtons.size(); ++i)
        {
            EXPECT_EQ (processor.handleHeight[i].load(), storedHeight);
            EXPECT_EQ (e.babyRadodButtons[i].getBounds(), juce::Rectangle<int> (layoutX[i], top, 68, i == 0 ? 125 : 120));
            EXPECT_TRUE (e.getLocalBounds().contains (e.babyRadodButtons[i].getBounds()));

            // Showing the handle changes nothing that plays.
            EXPECT_EQ (processor.stepGain[i].load(), gains[i]);
        }

        editor.reset();
    }
}

TEST_F (EditorLayout, LayoutLeavesTheProcessorsHeightsAndGainsAlone)
{
    processor.handleHeight[2] = 123.75f;
    processor.stepGain[2] = 0.3f;

    open().resized();

    EXPECT_EQ (processor.handleHeight[2].load(), 123.75f);
    EXPECT_EQ (processor.stepGain[2].load(), 0.3f);
}

TEST_F (EditorLayout, VideoLinkSitsInTheTopBarClearOfTheOtherControlsAndTexts)
{
    auto& e = open();
    const auto video = e.videoLinkButton.getBounds();

    // Its 48 x 20 logo is drawn centred in the box, wholly inside the window.
    const auto logo = juce::Rectangle<int> (48, 20).withCentre (video.getCentre());
    EXPECT_TRUE (e.getLocalBounds().contains (logo));
    EXPECT_LE (video.getBottom(), 30);

    const juce::Rectangle<int> tempoText { 92, 0, 70, 30 }, versionText { 682, 0, 70, 30 };

    for (auto area : { e.siteLinkButton.getBounds(), e.previousPresetButton.getBounds(), e.presetBox.getBounds(),
                       e.nextPresetButton.getBounds(), e.infoButton.getBounds(), e.bypassButton.getBounds(),
                       tempoText, versionText })
        EXPECT_FALSE (video.intersects (area)) << area.toString();
}
