#include <functional>

#include <gtest/gtest.h>

#include "EditorSession.h"
#include "HandleInput.h"

using namespace HandleInput;

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
