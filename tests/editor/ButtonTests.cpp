#include <gtest/gtest.h>

#include "EditorSession.h"
#include "HandleInput.h"

using namespace HandleInput;

TEST (Buttons, BypassTogglesTheProcessorsFlag)
{
    EditorSession session;
    session.open();
    const auto parameterBefore = session.parameter (ParameterIds::bypassOn);

    session.click (session.ui().bypassButton);
    EXPECT_TRUE (session.processor.bypassOn.load());

    EXPECT_EQ (session.parameter (ParameterIds::bypassOn), 1.0f);

    session.click (session.ui().bypassButton);
    EXPECT_FALSE (session.processor.bypassOn.load());
    EXPECT_EQ (session.parameter (ParameterIds::bypassOn), parameterBefore);
}

TEST (Buttons, PreviousAndNextStepThroughThePresetsWithTheirWraps)
{
    enum Direction
    {
        previous,
        next
    };
    struct Case
    {
        int selectedBefore;
        Direction direction;
        int selectedAfter;
        const char* shown;
    };

    for (auto [before, direction, after, shown] : { Case { 0, previous, 12, "Colonise" },
                                                    Case { 0, next, 1, "Default" },
                                                    Case { 1, previous, 12, "Colonise" },
                                                    Case { 1, next, 2, "Intergalactic" },
                                                    Case { 5, previous, 4, "Destroy All Humans" },
                                                    Case { 5, next, 6, "Spaced Out" },
                                                    Case { 12, previous, 11, "Red Hole" },
                                                    Case { 12, next, 0, "" } })
    {
        SCOPED_TRACE (juce::String (before) + (direction == previous ? " previous" : " next"));
        EditorSession session;
        session.processor.currentPreset = 0;
        session.open();
        session.choose (before);
        auto& box = session.ui().presetBox;

        session.click (direction == previous ? session.ui().previousPresetButton : session.ui().nextPresetButton);

        EXPECT_EQ (box.getSelectedId(), after);
        EXPECT_EQ (box.getText(), juce::String (shown));
        if (after != 0)
        {
            EXPECT_EQ (session.processor.currentPreset.load(), after);
        }
    }
}

TEST (Buttons, NextFromTheLastPresetClearsTheBoxAndThenStartsAgain)
{
    EditorSession session;
    session.processor.currentPreset = 0;
    session.open();
    session.choose (12);

    session.click (session.ui().nextPresetButton);
    EXPECT_EQ (session.ui().presetBox.getSelectedId(), 0);
    EXPECT_EQ (session.processor.currentPreset.load(), 12);

    session.click (session.ui().nextPresetButton);
    EXPECT_EQ (session.ui().presetBox.getText(), juce::String ("Default"));
    EXPECT_EQ (session.processor.currentPreset.load(), 1);
}

TEST (Buttons, TheInformationOverlayShowsAndHides)
{
    EditorSession session;
    session.open();
    auto& editor = session.ui();
    ASSERT_FALSE (editor.infoOverlay.isVisible());

    session.click (editor.infoButton);
    EXPECT_TRUE (editor.infoOverlay.isVisible());
    session.click (editor.infoButton);
    EXPECT_FALSE (editor.infoOverlay.isVisible());

    // A click anywhere on the shown overlay hides it.
    session.click (editor.infoButton);
    session.click (editor.infoOverlay);
    EXPECT_FALSE (editor.infoOverlay.isVisible());
}

TEST (Buttons, AClickOnAHandleResetsItsStepToTheBottomOfItsColumn)
{
    EditorSession session;
    session.open();
    auto& editor = session.ui();

    // Every handle somewhere quiet first, each at its own height.
    for (int i = 0; i < 8; ++i)
        drag (editor, layoutX[i] + 10, 100 + 7 * i);

    for (int i = 0; i < 8; ++i)
    {
        SCOPED_TRACE (i + 1);
        const auto k = (size_t) i;

        session.click (editor.babyRadodButtons[k]);

        // Handles 3 and 6 go back to the layout's x (149, 582), not the drag's (150, 584). The step
        // plays and stores what a handle at the bottom means, as a drag there would give.
        EXPECT_EQ (editor.babyRadodButtons[k].getBounds(), juce::Rectangle<int> (layoutX[i], 350, 68, boxHeight (i)));
        EXPECT_EQ (session.processor.stepGain[k].load(), 1.0f);
        EXPECT_EQ (session.processor.handleHeight[k].load(), 350.0f);

        // The steps not clicked yet keep theirs.
        for (size_t other = k + 1; other < 8; ++other)
            EXPECT_EQ (session.processor.handleHeight[other].load(), (float) (100 + 7 * (int) other)) << "step " << other + 1;
    }

    // A reopened window shows the handles where the click put them.
    session.close();
    session.open();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ (session.ui().babyRadodButtons[(size_t) i].getBounds(), juce::Rectangle<int> (layoutX[i], 350, 68, boxHeight (i)));
}
