#include <gtest/gtest.h>

#include "EditorSession.h"
#include "HostRecorder.h"
#include "SavedStateBlobs.h"

namespace
{
    struct ExpectedPreset
    {
        int id;
        const char* name;
        float fx, speed, impact, depth, rate, bite, feedback, phaserX;
        int heights[8];
        float gains[8];
    };

    // Written out here rather than read from the plug-in's table, so a wrong entry there shows.
    const ExpectedPreset expectedPresets[] = {
        { 1, "Default", 1, 2, 1, 0.2f, 3.5f, 32, 0.3f, 0, { 350, 350, 350, 350, 350, 350, 350, 350 }, { 1, 1, 1, 1, 1, 1, 1, 1 } },
        { 2, "Intergalactic", 1, 3, 0.5f, 0.1f, 0.2f, 32, 0, 0, { 350, 250, 150, 82, 350, 250, 150, 82 }, { 1, 1, 1, 1, 1, 1, 1, 1 } },
        { 3, "Exterminate", 1, 1, 1, 0, 0.1f, 32, 0.25f, 0, { 250, 250, 150, 250, 250, 250, 150, 250 }, { 1, 1, 1, 1, 1, 1, 1, 1 } },
        { 4, "Destroy All Humans", 5, 2, 1, 0.4f, 3.5f, 16, 0.4f, 0, { 350, 200, 100, 350, 200, 200, 100, 100 }, { 1, 0.6f, 0.2f, 1, 0.6f, 0.6f, 0.2f, 0.2f } },
        { 5, "Baby Hate Machine", 2, 3, 1, 0.3f, 13.5f, 16, 0.2f, 0.5f, { 150, 250, 150, 82, 150, 150, 82, 82 }, { 1, 1, 1, 1, 1, 1, 1, 1 } },
        { 6, "Spaced Out", 4, 1, 0.7f, 0.4f, 9.5f, 32, 0.3f, 0, { 150, 82, 82, 150, 150, 82, 82, 150 }, { 1, 1, 1, 1, 1, 1, 1, 1 } },
        { 7, "Crush Resistance", 5, 2, 1, 0.6f, 17.5f, 16, 0.2f, 0.6f, { 150, 150, 82, 350, 150, 150, 82, 350 }, { 1, 1, 1, 1, 1, 1, 1, 1 } },
        { 8, "Phasers at Stun", 4, 2, 1, 0.4f, 7.5f, 8, 0.1f, 1, { 350, 300, 250, 200, 150, 100, 130, 82 }, { 1, 0.9f, 1, 0.6f, 1, 0.2f, 0.3f, 1 } },
        { 9, "Radod Sex Fiend", 3, 1, 1, 0.7f, 7.5f, 32, 0.5f, 0, { 200, 82, 82, 200, 200, 82, 82, 200 }, { 0.6f, 1, 1, 0.6f, 0.6f, 1, 1, 0.6f } },
        { 10, "Breeder", 2, 2, 0.7f, 0.3f, 6.5f, 8, 0.4f, 0.3f, { 150, 82, 82, 250, 250, 82, 82, 150 }, { 1, 1, 1, 1, 1, 1, 1, 1 } },
        { 11, "Red Hole", 4, 3, 1, 0.4f, 2.5f, 32, 0.5f, 0, { 250, 300, 250, 200, 250, 100, 130, 82 }, { 1, 0.9f, 1, 0.6f, 1, 0.2f, 0.3f, 1 } },
        { 12, "Colonise", 2, 1, 1, 0.8f, 17.5f, 8, 0.5f, 0, { 250, 300, 350, 200, 250, 100, 130, 200 }, { 1, 0.9f, 1, 0.6f, 1, 0.2f, 0.3f, 0.6f } },
    };

    constexpr int dragX[8] = { 12, 79, 150, 220, 513, 584, 652, 720 };

    // The parameters hold the knob values on their own 0.01 grid, in single precision.
    constexpr float gridTolerance = 1.0e-5f;

    void expectKnobParameters (EditorSession& session, const ExpectedPreset& preset)
    {
        EXPECT_NEAR (session.parameter (ParameterIds::fx), preset.fx, gridTolerance);
        EXPECT_NEAR (session.parameter (ParameterIds::speed), preset.speed, gridTolerance);
        EXPECT_NEAR (session.parameter (ParameterIds::impact), preset.impact, gridTolerance);
        EXPECT_NEAR (session.parameter (ParameterIds::depth), preset.depth, gridTolerance);
        EXPECT_NEAR (session.parameter (ParameterIds::rate), preset.rate, gridTolerance);
        EXPECT_NEAR (session.parameter (ParameterIds::bite), preset.bite, gridTolerance);
        EXPECT_NEAR (session.parameter (ParameterIds::feedback), preset.feedback, gridTolerance);
        EXPECT_NEAR (session.parameter (ParameterIds::phaserX), preset.phaserX, gridTolerance);
    }

    /** The processor holds the whole preset: knobs, gains and heights, and the preset's id. */
    void expectPresetHeld (EditorSession& session, const ExpectedPreset& preset)
    {
        expectKnobParameters (session, preset);

        for (size_t k = 0; k < 8; ++k)
        {
            EXPECT_EQ (session.processor.stepGain[k].load(), preset.gains[k]) << "step " << k + 1;
            EXPECT_EQ (session.processor.handleHeight[k].load(), (float) preset.heights[k]) << "step " << k + 1;
        }

        EXPECT_EQ (session.processor.currentPreset.load(), preset.id);
    }

    void expectHandles (EditorSession& session, const ExpectedPreset& preset)
    {
        for (size_t k = 0; k < 8; ++k)
        {
            EXPECT_EQ (session.processor.stepGain[k].load(), preset.gains[k]) << "step " << k + 1;
            EXPECT_EQ (session.processor.handleHeight[k].load(), (float) preset.heights[k]) << "step " << k + 1;
            EXPECT_EQ (session.ui().babyRadodButtons[k].getPosition(), juce::Point<int> (dragX[k], preset.heights[k]));
        }
    }
}

//==============================================================================
TEST (Presets, EachPresetSetsItsKnobParametersAndHandlesWithThePanelHidden)
{
    for (const auto& preset : expectedPresets)
    {
        SCOPED_TRACE (preset.name);
        EditorSession session;
        session.processor.currentPreset = 0;
        session.open();
        ASSERT_FALSE (session.ui().fxKnob.isVisible());

        session.choose (preset.id);

        EXPECT_EQ (session.ui().presetBox.getText(), juce::String (preset.name));
        EXPECT_EQ (session.processor.currentPreset.load(), preset.id);
        expectKnobParameters (session, preset);
        expectHandles (session, preset);

        // The preset is stored as its id + 1; bypass and the panel are left alone.
        EXPECT_EQ (session.parameter (ParameterIds::presets), (float) preset.id + 1.0f);
        EXPECT_FALSE (session.processor.bypassOn.load());
        EXPECT_FALSE (session.processor.knobsShowing.load());
    }
}

TEST (Presets, APickSetsEveryValueWithinTheCallThatDeliversIt)
{
    EditorSession session;
    session.processor.currentPreset = 0;
    session.open();
    session.choose (8);   // "Phasers at Stun" differs from "Intergalactic" in all eight knobs

    HostRecorder host (session.processor);

    // The box's change message, delivered by hand as the message loop would.
    session.ui().presetBox.setSelectedId (2, juce::dontSendNotification);
    session.ui().comboBoxChanged (&session.ui().presetBox);

    expectKnobParameters (session, expectedPresets[1]);
    expectHandles (session, expectedPresets[1]);
    EXPECT_EQ (session.processor.currentPreset.load(), 2);
    EXPECT_EQ (session.ui().fxKnob.getValue(), 1.0);
    EXPECT_EQ (session.ui().speedKnob.getValue(), 3.0);

    // The knobs first, in the preset's order, then the handles that move (all but the first and
    // last, at 350 and 82 in both) and the preset; the message loop has nothing left to add.
    using namespace ParameterIds;
    const juce::StringArray expected ({ fx, speed, impact, depth, rate, bite, feedback, phaserX, handleHeights[1], handleHeights[2],
                                        handleHeights[3], handleHeights[4], handleHeights[5], handleHeights[6], presets });
    EXPECT_EQ (host.valuesHeard(), expected);
    runPendingMessages();
    EXPECT_EQ (host.valuesHeard(), expected);
}

TEST (Presets, APickFollowedAtOnceByClosingTheWindowOrARestoreLeavesTheWholePresetOrTheWholeRestore)
{
    // A session on "Spaced Out" (6, stored as 7) whose knobs and handles have all moved since.
    ZurizazAudioProcessor saved;
    {
        using namespace ParameterIds;
        for (auto [id, value] : { std::pair { fx, 3.0f }, { speed, 3.0f }, { impact, 0.4f }, { depth, 0.9f }, { rate, 12.0f }, { bite, 6.0f }, { feedback, 0.55f }, { phaserX, 0.7f }, { presets, 7.0f } })
            setPlain (saved, id, value);
        for (int k = 0; k < 8; ++k)
            setPlain (saved, handleHeights[k], (float) (120 + 20 * k) / 400.0f);
    }
    const auto session = StateBlobs::save (saved);

    enum Outcome
    {
        wholePreset,
        wholeRestore
    };

    struct Case
    {
        const char* name;
        std::function<void (EditorSession&)> pickAndThen;
        Outcome outcome;
    };

    // Each picks "Destroy All Humans" (4) from "Exterminate" (3), but for one that picks the
    // session's own "Spaced Out". A pick from the menu reaches the editor as the box's change
    // message, one turn of the message loop after the choice; the buttons act in their click.
    const auto menuPick = [] (EditorSession& s)
    {
        s.ui().presetBox.setSelectedId (4, juce::dontSendNotification);
        s.ui().comboBoxChanged (&s.ui().presetBox);
    };
    const auto menuChoice = [] (EditorSession& s, int presetId)
    { s.ui().presetBox.setSelectedId (presetId, juce::sendNotificationAsync); };
    const auto next = [] (EditorSession& s)
    { s.ui().buttonClicked (&s.ui().nextPresetButton); };
    const auto restore = [&session] (EditorSession& s)
    { StateBlobs::restore (s.processor, session); };

    const Case cases[] = {
        { "menu pick, window closed", [=] (EditorSession& s)
          { menuPick (s); s.close(); },
          wholePreset },
        { "next, window closed", [=] (EditorSession& s)
          { next (s); s.close(); },
          wholePreset },
        { "menu pick, restore", [=] (EditorSession& s)
          { menuPick (s); restore (s); },
          wholeRestore },
        { "next, restore", [=] (EditorSession& s)
          { next (s); restore (s); },
          wholeRestore },
        // A paint moves the menu to the restored preset before the box's message arrives: the
        // restore came after the choice and stands.
        { "menu choice, restore, paint, the box's message", [=] (EditorSession& s)
          { menuChoice (s, 4); restore (s); s.paintOnce(); },
          wholeRestore },
        { "menu choice of the session's preset, restore, paint, the box's message", [=] (EditorSession& s)
          { menuChoice (s, 6); restore (s); s.paintOnce(); },
          wholeRestore },
        // With no paint in between, the message is the choice as it was made, and the last word.
        { "menu choice, restore, the box's message", [=] (EditorSession& s)
          { menuChoice (s, 4); restore (s); },
          wholePreset },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        EditorSession s;
        s.processor.currentPreset = 0;
        s.open();
        s.choose (3);

        c.pickAndThen (s);
        runPendingMessages();

        if (c.outcome == wholePreset)
            expectPresetHeld (s, expectedPresets[3]);
        else
            EXPECT_EQ (StateBlobs::save (s.processor), session);
    }
}

TEST (Presets, ChoosingTheShownPresetAgainOrClearingTheSelectionAppliesNothing)
{
    // A preset, then a drag of handle 2 and an fx change, then the second choice from the menu:
    // the drag and the fx stay, and the preset shown is the one applied last, or none.
    struct Case
    {
        int preset, dragY;
        float gainAfterDrag, fx;
        int secondChoice;
        juce::String shownText;
    };
    const Case cases[] = {
        { 4, 300, 0.9f, 3.0f, 4, "Destroy All Humans" },   // handle 2: 0.6 -> 0.9
        { 12, 100, 0.2f, 4.0f, 0, {} },                    // handle 2: 0.9 -> 0.2
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.preset) + " then " + juce::String (c.secondChoice));
        EditorSession session;
        session.processor.currentPreset = 0;
        session.open();
        session.choose (c.preset);
        session.ui().mouseDrag (mouseAt (session.ui(), 100, c.dragY));
        session.setParameter (ParameterIds::fx, c.fx);

        session.choose (c.secondChoice);

        EXPECT_EQ (session.ui().presetBox.getText(), c.shownText);
        EXPECT_EQ (session.processor.currentPreset.load(), c.preset);
        EXPECT_EQ (session.processor.stepGain[1].load(), c.gainAfterDrag);
        EXPECT_EQ (session.processor.handleHeight[1].load(), (float) c.dragY);
        EXPECT_EQ (session.ui().babyRadodButtons[1].getY(), c.dragY);
        EXPECT_EQ (session.parameter (ParameterIds::fx), c.fx);
        EXPECT_TRUE (session.processor.presetChangeArmed.load());
    }
}

TEST (Presets, ADragAfterAPresetChangesOnlyThatStep)
{
    EditorSession session;
    session.processor.currentPreset = 0;
    session.open();
    session.choose (9);

    session.ui().mouseDrag (mouseAt (session.ui(), 600, 290));   // handle 6, stepping off the single row

    auto expected = expectedPresets[8];
    expected.heights[5] = 291;
    expected.gains[5] = 0.9f;
    for (size_t k = 0; k < 8; ++k)
    {
        EXPECT_EQ (session.processor.stepGain[k].load(), expected.gains[k]);
        EXPECT_EQ (session.processor.handleHeight[k].load(), (float) expected.heights[k]);
    }
    EXPECT_EQ (session.processor.currentPreset.load(), 9);
    EXPECT_EQ (session.ui().presetBox.getText(), juce::String ("Radod Sex Fiend"));
}

//==============================================================================
TEST (PresetGuard, OpeningTheEditorOnAPresetNeverAppliesItAgain)
{
    for (int id : { 1, 4, 12 })
    {
        SCOPED_TRACE (id);
        EditorSession session;
        session.processor.currentPreset = id;
        session.setParameter (ParameterIds::fx, 3.0f);
        session.setParameter (ParameterIds::bite, 10.0f);
        for (size_t k = 0; k < 8; ++k)
        {
            session.processor.handleHeight[k] = 111.0f;
            session.processor.stepGain[k] = 0.3f;
        }

        session.open();

        EXPECT_EQ (session.ui().presetBox.getText(), juce::String (expectedPresets[id - 1].name));
        EXPECT_EQ (session.processor.currentPreset.load(), id);
        EXPECT_EQ (session.parameter (ParameterIds::fx), 3.0f);
        EXPECT_EQ (session.parameter (ParameterIds::bite), 10.0f);
        for (size_t k = 0; k < 8; ++k)
        {
            EXPECT_EQ (session.processor.handleHeight[k].load(), 111.0f);
            EXPECT_EQ (session.processor.stepGain[k].load(), 0.3f);
            EXPECT_EQ (session.ui().babyRadodButtons[k].getY(), 111);
        }

        // The swallowed announcement leaves the guard armed for the user's first choice.
        EXPECT_TRUE (session.processor.presetChangeArmed.load());
        session.click (session.ui().nextPresetButton);
        EXPECT_EQ (session.processor.currentPreset.load(), id == 12 ? 12 : id + 1);
    }
}

TEST (PresetGuard, TheFirstChoiceAfterOpeningWithNoPresetIsApplied)
{
    // A session with no preset (stored as 1) opens the box on "Presets".
    enum Way
    {
        menu,
        previous,
        next
    };
    struct Case
    {
        Way way;
        int applied;
    };

    for (auto [way, applied] : { Case { menu, 4 }, Case { previous, 12 }, Case { next, 1 } })
    {
        SCOPED_TRACE ((int) way);
        EditorSession session;
        session.setParameter (ParameterIds::presets, 1.0f);
        session.processor.prepareToPlay (44100.0, 512);
        ASSERT_EQ (session.processor.currentPreset.load(), 0);
        session.setParameter (ParameterIds::fx, 3.0f);
        session.open();
        ASSERT_EQ (session.ui().presetBox.getSelectedId(), 0);

        if (way == menu)
            session.choose (4);
        else
            session.click (way == previous ? session.ui().previousPresetButton : session.ui().nextPresetButton);

        EXPECT_EQ (session.processor.currentPreset.load(), applied);
        expectKnobParameters (session, expectedPresets[applied - 1]);
        expectHandles (session, expectedPresets[applied - 1]);
    }
}

TEST (PresetGuard, PreparationWhileTheEditorIsOpenDoesNotSwallowTheNextChoice)
{
    EditorSession session;
    session.processor.currentPreset = 4;
    session.open();

    session.processor.prepareToPlay (48000.0, 256);
    session.choose (8);

    EXPECT_EQ (session.processor.currentPreset.load(), 8);
    expectKnobParameters (session, expectedPresets[7]);
    expectHandles (session, expectedPresets[7]);
}

TEST (PresetGuard, AnEditorClosedBeforeItsSelectionWasAnnouncedLeavesNoStaleGuard)
{
    EditorSession session;
    session.processor.currentPreset = 5;
    session.open();
    session.close();

    // Opened and closed again before the message loop ran: its announcement never arrives.
    session.editor = std::make_unique<ZurizazAudioProcessorEditor> (session.processor);
    session.close();
    runPendingMessages();

    session.processor.prepareToPlay (44100.0, 512);   // no preset any more
    session.open();
    session.choose (3);

    EXPECT_EQ (session.processor.currentPreset.load(), 3);
    expectHandles (session, expectedPresets[2]);
}
