#include "EditorFixture.h"

using EditorLayout = EditorFixture;

TEST_F (EditorLayout, EveryChildHasItsFixedPlaceAndEachHandleItsOwnStoredHeight)
{
    for (size_t i = 0; i < processor.handleHeight.size(); ++i)
        processor.handleHeight[i] = 100.0f + 10.0f * (float) i;

    auto& e = open();
    auto& h = e.babyRadodButtons;

    const std::vector<std::pair<juce::Component*, juce::Rectangle<int>>> table {
        { &e.presetBox,            { 300, 3, 200, 21 } },
        { &e.siteLinkButton,       { -8, -2, 110, 30 } },
        { &e.previousPresetButton, { 270, -1, 30, 30 } },
        { &e.nextPresetButton,     { 500, -1, 30, 30 } },
        { &e.infoButton,           { 767, -1, 30, 30 } },
        { &e.bypassButton,         { 703, -1, 70, 30 } },
        { &h[0],                   { 12, 100, 68, 125 } },
        { &h[1],                   { 79, 110, 68, 120 } },
        { &h[2],                   { 149, 120, 68, 120 } },
        { &h[3],                   { 220, 130, 68, 120 } },
        { &h[4],                   { 513, 140, 68, 120 } },
        { &h[5],                   { 582, 150, 68, 120 } },
        { &h[6],                   { 652, 160, 68, 120 } },
        { &h[7],                   { 720, 170, 68, 120 } },
        { &e.lastStepIndicator,    { 334, 196, 132, 40 } },
        { &e.leftKnobPanel,        { 45, 130, 208, 196 } },
        { &e.rightKnobPanel,       { 548, 130, 208, 196 } },
        { &e.infoOverlay,          { 0, 77, 800, 405 } },
        { &e.impactKnob,           { 70, 150, 64, 64 } },
        { &e.impactCover,          { 70, 150, 64, 64 } },
        { &e.fxKnob,               { 160, 150, 64, 64 } },
        { &e.speedKnob,            { 575, 150, 64, 64 } },
        { &e.biteKnob,             { 665, 150, 64, 64 } },
        { &e.biteCover,            { 665, 150, 64, 64 } },
        { &e.depthKnob,            { 70, 243, 64, 64 } },
        { &e.depthCover,           { 70, 243, 64, 64 } },
        { &e.rateKnob,             { 160, 243, 64, 64 } },
        { &e.rateCover,            { 160, 243, 64, 64 } },
        { &e.feedbackKnob,         { 575, 243, 64, 64 } },
        { &e.feedbackCover,        { 575, 243, 64, 64 } },
        { &e.phaserXKnob,          { 665, 243, 64, 64 } },
        { &e.phaserXCover,         { 665, 243, 64, 64 } },
        { &e.fxLabel,              { 157, 214, 70, 20 } },
        { &e.speedLabel,           { 572, 214, 70, 20 } },
        { &e.impactLabel,          { 67, 214, 70, 20 } },
        { &e.biteLabel,            { 662, 214, 70, 20 } },
        { &e.depthLabel,           { 67, 307, 70, 20 } },
        { &e.rateLabel,            { 157, 307, 70, 20 } },
        { &e.feedbackLabel,        { 572, 307, 70, 20 } },
        { &e.phaseLabel,           { 662, 307, 70, 20 } },
    };

    for (auto& [child, bounds] : table)
        EXPECT_EQ (child->getBounds(), bounds) << "child #" << e.getIndexOfChildComponent (child);

    // Every child but the video link is in the table; that one has a place of its own (below).
    EXPECT_EQ (table.size() + 1, (size_t) e.getNumChildComponents());
}

TEST_F (EditorLayout, StoredHeightsAreTruncatedNotRoundedOrClamped)
{
    for (auto [stored, top] : { std::pair { 82.9f, 82 }, { 349.9f, 349 }, { 400.0f, 400 }, { 4.0f, 4 } })
    {
        SCOPED_TRACE (stored);
        for (auto& height : processor.handleHeight)
            height = stored;

        auto& e = open();

        for (auto& handle : e.babyRadodButtons)
            EXPECT_EQ (handle.getY(), top);

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
