#include <vector>

#include <gtest/gtest.h>

#include "EditorSession.h"

namespace
{
    std::vector<juce::Component*> panelParts (ZurizazAudioProcessorEditor& e)
    {
        return { &e.leftKnobPanel, &e.rightKnobPanel,
                 &e.fxKnob, &e.speedKnob, &e.impactKnob, &e.depthKnob, &e.rateKnob, &e.biteKnob,
                 &e.feedbackKnob, &e.phaserXKnob,
                 &e.impactCover, &e.depthCover, &e.rateCover, &e.biteCover, &e.feedbackCover, &e.phaserXCover };
    }
}

TEST (KnobsPanel, APressInTheCentreColumnTogglesThePanelKnobsAndCovers)
{
    for (auto [x, y] : { std::pair { 301, 200 }, { 499, 200 }, { 400, 5 }, { 400, 470 } })
    {
        SCOPED_TRACE (juce::String (x) + ", " + juce::String (y));
        EditorSession session;
        session.open();
        auto& editor = session.ui();

        editor.mouseDown (mouseAt (editor, x, y));

        for (auto* part : panelParts (editor))
            EXPECT_TRUE (part->isVisible());
        EXPECT_TRUE (session.processor.knobsShowing.load());

        // A second press closes what the first opened, covers included.
        editor.mouseDown (mouseAt (editor, x, y));

        for (auto* part : panelParts (editor))
            EXPECT_FALSE (part->isVisible());
        EXPECT_FALSE (session.processor.knobsShowing.load());
    }
}

TEST (KnobsPanel, APressOutsideTheCentreColumnLeavesThePanelAlone)
{
    for (auto x : { 300, 500, 100, 700 })
    {
        SCOPED_TRACE (x);
        EditorSession session;
        session.open();
        auto& editor = session.ui();

        std::vector<bool> before;
        for (auto* part : panelParts (editor))
            before.push_back (part->isVisible());

        editor.mouseDown (mouseAt (editor, x, 200));

        std::vector<bool> after;
        for (auto* part : panelParts (editor))
            after.push_back (part->isVisible());

        EXPECT_EQ (after, before);
        EXPECT_FALSE (session.processor.knobsShowing.load());
    }
}

TEST (KnobsPanel, ThePanelsOwnVisibilityDecidesTheNewState)
{
    // The processor may say the panel shows while this editor hasn't painted it yet; the press
    // follows what the window shows.
    EditorSession session;
    session.processor.knobsShowing = true;
    session.open();
    auto& editor = session.ui();
    ASSERT_FALSE (editor.leftKnobPanel.isVisible());

    editor.mouseDown (mouseAt (editor, 400, 100));

    EXPECT_TRUE (editor.leftKnobPanel.isVisible());
    EXPECT_TRUE (session.processor.knobsShowing.load());
}
