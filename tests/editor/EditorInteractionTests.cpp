#include <functional>

#include <gtest/gtest.h>

#include "EditorSession.h"
#include "HostRecorder.h"

namespace
{
    constexpr int layoutX[8] = { 12, 79, 149, 220, 513, 582, 652, 720 };

    int boxHeight (int index) { return index == 0 ? 125 : 120; }

    std::array<juce::Rectangle<int>, 8> handleBounds (ZurizazAudioProcessorEditor& editor)
    {
        std::array<juce::Rectangle<int>, 8> bounds;
        for (size_t i = 0; i < 8; ++i)
            bounds[i] = editor.babyRadodButtons[i].getBounds();
        return bounds;
    }

    void drag (ZurizazAudioProcessorEditor& editor, int x, int y)
    {
        editor.mouseDrag (mouseAt (editor, x, y));
    }

    std::vector<juce::Component*> panelParts (ZurizazAudioProcessorEditor& e)
    {
        return { &e.leftKnobPanel, &e.rightKnobPanel,
                 &e.fxKnob, &e.speedKnob, &e.impactKnob, &e.depthKnob, &e.rateKnob, &e.biteKnob,
                 &e.feedbackKnob, &e.phaserXKnob,
                 &e.impactCover, &e.depthCover, &e.rateCover, &e.biteCover, &e.feedbackCover, &e.phaserXCover };
    }
}

//==============================================================================
TEST (StepHandles, ADragMovesOnlyTheHandleWhoseColumnHoldsThePointer)
{
    struct Case
    {
        int pointerX, index, placedX;
    };

    // Columns are inclusive at both ends; 290..512 and 792 on belong to no handle.
    for (auto [pointerX, index, placedX] : { Case { -40, 0, 12 }, Case { 78, 0, 12 },
                                             Case { 79, 1, 79 }, Case { 148, 1, 79 },
                                             Case { 149, 2, 150 }, Case { 219, 2, 150 },
                                             Case { 220, 3, 220 }, Case { 289, 3, 220 },
                                             Case { 290, -1, 0 }, Case { 400, -1, 0 }, Case { 512, -1, 0 },
                                             Case { 513, 4, 513 }, Case { 581, 4, 513 },
                                             Case { 582, 5, 584 }, Case { 651, 5, 584 },
                                             Case { 652, 6, 652 }, Case { 719, 6, 652 },
                                             Case { 720, 7, 720 }, Case { 791, 7, 720 },
                                             Case { 792, -1, 0 }, Case { 1200, -1, 0 } })
    {
        SCOPED_TRACE (pointerX);
        EditorSession session;
        session.open();
        auto& editor = session.ui();
        const auto before = handleBounds (editor);

        drag (editor, pointerX, 200);

        for (int i = 0; i < 8; ++i)
        {
            const auto k = (size_t) i;

            if (i == index)
            {
                EXPECT_EQ (editor.babyRadodButtons[k].getBounds(), juce::Rectangle<int> (placedX, 200, 68, boxHeight (i)));
                EXPECT_EQ (session.processor.stepGain[k].load(), 0.6f);
                EXPECT_EQ (session.processor.handleHeight[k].load(), 200.0f);
            }
            else
            {
                EXPECT_EQ (editor.babyRadodButtons[k].getBounds(), before[k]) << "handle " << i + 1;
                EXPECT_EQ (session.processor.stepGain[k].load(), 1.0f) << "handle " << i + 1;
            }
        }
    }
}

TEST (StepHandles, ADragIsClampedToTheColumnAndNeverRestsOnASingleRowBetweenBands)
{
    struct Case
    {
        int pointerY, placedY;
        float level;
    };

    // Above 82 (even above the window) and below 350 (even below the window) clamp. The single
    // rows between the bands play at full level, so a drag steps one pixel down into the band
    // below: the top of the column is the quietest step, not the loudest.
    for (auto [pointerY, placedY, level] : { Case { -30, 83, 0.1f }, Case { 81, 83, 0.1f }, Case { 82, 83, 0.1f },
                                             Case { 83, 83, 0.1f }, Case { 84, 84, 0.2f }, Case { 109, 109, 0.2f },
                                             Case { 110, 111, 0.3f }, Case { 111, 111, 0.3f }, Case { 134, 134, 0.3f },
                                             Case { 135, 135, 0.4f }, Case { 149, 149, 0.4f }, Case { 150, 151, 0.5f },
                                             Case { 151, 151, 0.5f }, Case { 184, 184, 0.5f }, Case { 185, 186, 0.6f },
                                             Case { 186, 186, 0.6f }, Case { 219, 219, 0.6f }, Case { 220, 221, 0.7f },
                                             Case { 221, 221, 0.7f }, Case { 249, 249, 0.7f }, Case { 250, 251, 0.8f },
                                             Case { 251, 251, 0.8f }, Case { 289, 289, 0.8f }, Case { 290, 291, 0.9f },
                                             Case { 291, 291, 0.9f }, Case { 319, 319, 0.9f }, Case { 320, 320, 1.0f },
                                             Case { 350, 350, 1.0f }, Case { 351, 350, 1.0f }, Case { 900, 350, 1.0f } })
    {
        SCOPED_TRACE (pointerY);
        EditorSession session;
        session.open();

        drag (session.ui(), 600, pointerY);

        EXPECT_EQ (session.ui().babyRadodButtons[5].getBounds(), juce::Rectangle<int> (584, placedY, 68, 120));
        EXPECT_EQ (session.processor.handleHeight[5].load(), (float) placedY);
        EXPECT_EQ (session.processor.stepGain[5].load(), level);
    }
}

TEST (StepHandles, AHandlePlacedOnASingleRowPlaysAtFullLevel)
{
    // What presets and stored sessions rely on: only drags step off these rows.
    EditorSession session;
    session.open();

    for (auto row : { 82, 110, 150, 185, 220, 250, 290 })
    {
        session.ui().placeBabyRadod (2, row);
        EXPECT_EQ (session.ui().babyRadodButtons[2].getY(), row);
        EXPECT_EQ (session.processor.stepGain[2].load(), 1.0f) << row;
        EXPECT_EQ (session.processor.handleHeight[2].load(), (float) row);
    }
}

TEST (StepHandles, ASidewaysSweepSetsEachColumnItPassesAtThatEventsHeight)
{
    EditorSession session;
    session.open();
    auto& editor = session.ui();
    const auto before = handleBounds (editor);

    editor.mouseDown (mouseAt (editor, 30, 400));
    drag (editor, 30, 100);    // handle 1
    drag (editor, 100, 120);   // handle 2
    drag (editor, 400, 130);   // no column
    drag (editor, 600, 300);   // handle 6
    drag (editor, 610, 310);   // handle 6 again
    editor.mouseUp (mouseAt (editor, 610, 310));

    EXPECT_EQ (editor.babyRadodButtons[0].getBounds(), juce::Rectangle<int> (12, 100, 68, 125));
    EXPECT_EQ (editor.babyRadodButtons[1].getBounds(), juce::Rectangle<int> (79, 120, 68, 120));
    EXPECT_EQ (editor.babyRadodButtons[5].getBounds(), juce::Rectangle<int> (584, 310, 68, 120));

    for (size_t k : { 2u, 3u, 4u, 6u, 7u })
        EXPECT_EQ (editor.babyRadodButtons[k].getBounds(), before[k]) << "handle " << k + 1;

    const float gains[8] = { 0.2f, 0.3f, 1.0f, 1.0f, 1.0f, 0.9f, 1.0f, 1.0f };
    for (size_t k = 0; k < 8; ++k)
        EXPECT_EQ (session.processor.stepGain[k].load(), gains[k]) << "step " << k + 1;
}

TEST (StepHandles, APressWithoutADragOrAClickOnTheLastStepIndicatorChangesNothing)
{
    struct Case
    {
        const char* name;
        std::function<void (EditorSession&)> act;
    };
    const Case cases[] = {
        { "press and release in handle 2's column", [] (EditorSession& session)
          {
              session.ui().mouseDown (mouseAt (session.ui(), 100, 200));
              session.ui().mouseUp (mouseAt (session.ui(), 100, 200));
          } },
        { "click on the last-step indicator", [] (EditorSession& session)
          { session.click (session.ui().lastStepIndicator); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        EditorSession session;
        session.open();
        auto& editor = session.ui();
        const auto before = handleBounds (editor);

        c.act (session);

        EXPECT_EQ (handleBounds (editor), before);
        for (size_t k = 0; k < 8; ++k)
        {
            EXPECT_EQ (session.processor.stepGain[k].load(), 1.0f);
            EXPECT_EQ (session.processor.handleHeight[k].load(), 350.0f);
        }
        EXPECT_FALSE (editor.infoOverlay.isVisible());
        EXPECT_FALSE (session.processor.bypassOn.load());
        EXPECT_FALSE (editor.leftKnobPanel.isVisible());
    }
}

TEST (StepHandles, DraggingShowsTheOpenHandUntilRelease)
{
    EditorSession session;
    session.open();
    auto& editor = session.ui();
    ASSERT_EQ (editor.getMouseCursor(), juce::MouseCursor::NormalCursor);

    drag (editor, 400, 200);   // in no column: the cursor changes all the same
    EXPECT_EQ (editor.getMouseCursor(), juce::MouseCursor::DraggingHandCursor);
    drag (editor, 100, 200);
    EXPECT_EQ (editor.getMouseCursor(), juce::MouseCursor::DraggingHandCursor);

    editor.mouseUp (mouseAt (editor, 100, 200));
    EXPECT_EQ (editor.getMouseCursor(), juce::MouseCursor::NormalCursor);
}

//==============================================================================
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

//==============================================================================
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

//==============================================================================
TEST (EditorToHost, EachEditorChangeReachesTheHostAsOneGesture)
{
    struct Case
    {
        const char* change;
        std::function<void (EditorSession&)> prepare, make;
        juce::StringArray heard;
    };

    const auto none = [] (EditorSession&) {};
    const auto press = [] (EditorSession& s, int x, int y)
    { s.ui().mouseDown (mouseAt (s.ui(), x, y)); };
    const auto release = [] (EditorSession& s, int x, int y)
    { s.ui().mouseUp (mouseAt (s.ui(), x, y)); };

    // On the depth knob (0.2): a full turn takes 250 pixels, each 10 pixels up adds 0.04.
    const auto turnDepthKnob = [] (EditorSession& s)
    {
        auto& knob = s.ui().depthKnob;
        knob.mouseDown (mouseAt (knob, 32, 32));
        knob.mouseDrag (mouseAt (knob, 32, 22));
        knob.mouseDrag (mouseAt (knob, 32, 22));
        knob.mouseDrag (mouseAt (knob, 32, 12));
    };

    const Case cases[] = {
        { "bypass", none, [] (EditorSession& s)
          { s.click (s.ui().bypassButton); },
          { "begin BypassOn", "bypassOn=1", "end BypassOn" } },
        { "panel", none, [=] (EditorSession& s)
          { press (s, 400, 420); release (s, 400, 420); },
          { "begin KnobsShowing", "knobsShowing=1", "end KnobsShowing" } },
        // Handle 4 to 100 pixels, 0.25 of 400; the press in its column takes it, the release lets go.
        { "handle drag", none, [=] (EditorSession& s)
          { press (s, 250, 400); drag (s.ui(), 250, 100); drag (s.ui(), 250, 100); release (s, 250, 100); },
          { "begin BabyRadod4", "babyRadod4=0.25", "end BabyRadod4" } },
        { "press and release in a column", none, [=] (EditorSession& s)
          { press (s, 250, 200); release (s, 250, 200); },
          { "begin BabyRadod4", "end BabyRadod4" } },
        { "sideways sweep", none, [=] (EditorSession& s)
          {
              press (s, 30, 400);
              drag (s.ui(), 30, 100);    // handle 1
              drag (s.ui(), 100, 120);   // handle 2
              drag (s.ui(), 400, 130);   // no column
              drag (s.ui(), 600, 300);   // handle 6
              drag (s.ui(), 610, 300);   // handle 6 at the same height
              release (s, 610, 300);
          },
          { "begin BabyRadod1", "babyRadod1=0.25", "begin BabyRadod2", "babyRadod2=0.3", "begin BabyRadod6", "babyRadod6=0.75", "end BabyRadod1", "end BabyRadod2", "end BabyRadod6" } },
        { "handle drag, window closed before the release", none, [=] (EditorSession& s)
          { press (s, 250, 400); drag (s.ui(), 250, 100); s.close(); },
          { "begin BabyRadod4", "babyRadod4=0.25", "end BabyRadod4" } },
        { "handle click", [=] (EditorSession& s)
          { press (s, 250, 400); drag (s.ui(), 250, 100); release (s, 250, 100); },
          [] (EditorSession& s)
          { s.click (s.ui().babyRadodButtons[3]); },
          { "begin BabyRadod4", "babyRadod4=0.875", "end BabyRadod4" } },
        { "knob drag", none, [=] (EditorSession& s)
          { turnDepthKnob (s); s.ui().depthKnob.mouseUp (mouseAt (s.ui().depthKnob, 32, 12)); },
          { "begin Depth", "depth=0.24", "depth=0.28", "end Depth" } },
        { "knob drag, window closed before the release", none, [=] (EditorSession& s)
          { turnDepthKnob (s); s.close(); },
          { "begin Depth", "depth=0.24", "depth=0.28", "end Depth" } },
        { "knob double-click", [] (EditorSession& s)
          { s.setParameter (ParameterIds::depth, 0.5f); },
          [] (EditorSession& s)
          { s.ui().depthKnob.mouseDoubleClick (mouseAt (s.ui().depthKnob, 32, 32)); },
          { "begin Depth", "depth=0.2", "end Depth" } },
        // "Radod Sex Fiend" (9, stored as 10): of the knobs fx, speed, depth, rate and feedback
        // change, the handles go to 200 and 82. All values come inside one group of gestures.
        { "preset pick", none, [] (EditorSession& s)
          { s.ui().comboBoxChanged (&s.ui().presetBox); },
          { "begin Fx", "begin Speed", "begin Depth", "begin Rate", "begin Feedback", "begin BabyRadod1", "begin BabyRadod2", "begin BabyRadod3", "begin BabyRadod4", "begin BabyRadod5", "begin BabyRadod6", "begin BabyRadod7", "begin BabyRadod8", "begin Presets", "fx=3", "speed=1", "depth=0.7", "rate=7.5", "feedback=0.5", "babyRadod1=0.5", "babyRadod2=0.205", "babyRadod3=0.205", "babyRadod4=0.5", "babyRadod5=0.5", "babyRadod6=0.205", "babyRadod7=0.205", "babyRadod8=0.5", "presets=10", "end Fx", "end Speed", "end Depth", "end Rate", "end Feedback", "end BabyRadod1", "end BabyRadod2", "end BabyRadod3", "end BabyRadod4", "end BabyRadod5", "end BabyRadod6", "end BabyRadod7", "end BabyRadod8", "end Presets" } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.change);
        EditorSession session;
        session.open();
        session.ui().presetBox.setSelectedId (9, juce::dontSendNotification);
        c.prepare (session);

        HostRecorder host (session.processor);
        c.make (session);

        EXPECT_EQ (host.events.joinIntoString (" "), c.heard.joinIntoString (" "));
    }
}

TEST (EditorToHost, ADragOfManyMovesIsOneGesturePerHandleItMoves)
{
    EditorSession session;
    session.open();
    auto& editor = session.ui();
    HostRecorder host (session.processor);

    // 36 moves down handle 4's column, from 100 to 240, every one to a new height; then sideways
    // into handle 5's column and 10 moves there, the last 5 of them at one height.
    editor.mouseDown (mouseAt (editor, 250, 60));
    for (int y = 100; y <= 240; y += 4)
        drag (editor, 250, y);
    for (int i = 0; i < 10; ++i)
        drag (editor, 560, 300 + 4 * juce::jmin (i, 4));
    editor.mouseUp (mouseAt (editor, 560, 316));

    for (auto [id, name, values] : { std::tuple { ParameterIds::handleHeights[3], "BabyRadod4", 36 },
                                     std::tuple { ParameterIds::handleHeights[4], "BabyRadod5", 5 } })
    {
        SCOPED_TRACE (name);
        const auto events = host.of (id);
        ASSERT_EQ (events.size(), values + 2) << events.joinIntoString (" ");
        EXPECT_EQ (events[0], "begin " + juce::String (name));
        EXPECT_EQ (events[events.size() - 1], "end " + juce::String (name));

        for (int i = 1; i <= values; ++i)
            EXPECT_TRUE (events[i].startsWith (juce::String (id) + "=")) << events[i];
    }

    EXPECT_EQ (host.of (ParameterIds::handleHeights[3])[36], "babyRadod4=0.6");
    EXPECT_EQ (host.of (ParameterIds::handleHeights[4])[5], "babyRadod5=0.79");

    // Handle 4 was begun at the press, handle 5 when the sweep first moved it; both end at the
    // release, and nothing else was heard.
    EXPECT_EQ (host.events.size(), 36 + 5 + 4);
    EXPECT_EQ (host.events.indexOf ("begin BabyRadod5"), 37);
    EXPECT_EQ (host.events.indexOf ("end BabyRadod4"), 43);
}

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
