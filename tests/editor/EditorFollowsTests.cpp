#include <gtest/gtest.h>

#include "EditorSession.h"
#include "HandleInput.h"

using namespace HandleInput;

TEST (EditorFollows, AHandleMovesToAHeightSetElsewhereAtTheNextPaintWithinTheDragRange)
{
    // What the host sets, and where the handle then shows: 82..350, its column's x kept.
    struct Case
    {
        int height;
        int shownY;
    };

    for (auto [height, shownY] : { Case { 100, 100 }, Case { 40, 82 }, Case { 400, 350 }, Case { 82, 82 } })
    {
        SCOPED_TRACE (height);
        EditorSession session;
        session.open();
        auto& editor = session.ui();
        drag (editor, 190, 300);   // handle 3 to the drag's x, 150
        editor.mouseUp (mouseAt (editor, 190, 300));
        ASSERT_EQ (editor.babyRadodButtons[2].getX(), 150);

        session.setParameter (ParameterIds::handleHeights[2], (float) height / 400.0f);
        EXPECT_EQ (editor.babyRadodButtons[2].getY(), 300);   // not before the paint

        juce::Image canvas (juce::Image::ARGB, 800, 477, true);
        juce::Graphics g (canvas);
        editor.paint (g);

        EXPECT_EQ (editor.babyRadodButtons[2].getBounds(), juce::Rectangle<int> (150, shownY, 68, 120));
        EXPECT_EQ (session.processor.handleHeight[2].load(), (float) height);
    }
}

TEST (EditorFollows, ThePresetMenuShowsAPresetSetElsewhereWithoutApplyingIt)
{
    EditorSession session;
    session.open();
    auto& editor = session.ui();
    session.setParameter (ParameterIds::fx, 3.0f);
    const auto heightsBefore = handleBounds (editor);

    session.setParameter (ParameterIds::presets, 5.0f);   // preset 4, "Destroy All Humans"
    juce::Image canvas (juce::Image::ARGB, 800, 477, true);
    {
        juce::Graphics g (canvas);
        editor.paint (g);
    }
    runPendingMessages();

    EXPECT_EQ (editor.presetBox.getText(), "Destroy All Humans");
    EXPECT_EQ (session.processor.currentPreset.load(), 4);
    EXPECT_EQ (session.parameter (ParameterIds::fx), 3.0f);
    EXPECT_EQ (handleBounds (editor), heightsBefore);

    // A choice of the user's on its way to the menu's listener is not undone by a paint, and
    // the next choice applies.
    editor.presetBox.setSelectedId (2, juce::sendNotificationAsync);
    {
        juce::Graphics g (canvas);
        editor.paint (g);
    }
    runPendingMessages();

    EXPECT_EQ (session.processor.currentPreset.load(), 2);
    EXPECT_EQ (session.parameter (ParameterIds::fx), 1.0f);
    EXPECT_EQ (editor.presetBox.getText(), "Intergalactic");
}
