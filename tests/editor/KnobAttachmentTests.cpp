#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "EditorSession.h"
#include "FailOnJuceAssertion.h"
#include "Watchdog.h"

namespace
{
    struct KnobRow
    {
        const char* id;
        FilmStripKnob ZurizazAudioProcessorEditor::*knob;
        double minimum, maximum, defaultValue;
    };

    // The design's ranges and defaults, as each knob shows them on its own steps.
    const KnobRow knobRows[] = {
        { ParameterIds::speed, &ZurizazAudioProcessorEditor::speedKnob, 1, 3, 2 },
        { ParameterIds::fx, &ZurizazAudioProcessorEditor::fxKnob, 1, 5, 1 },
        { ParameterIds::impact, &ZurizazAudioProcessorEditor::impactKnob, 0.1, 1, 1 },
        { ParameterIds::depth, &ZurizazAudioProcessorEditor::depthKnob, 0, 1, 0.2 },
        { ParameterIds::rate, &ZurizazAudioProcessorEditor::rateKnob, 0.1, 20, 3.5 },
        { ParameterIds::feedback, &ZurizazAudioProcessorEditor::feedbackKnob, 0, 0.6, 0.3 },
        { ParameterIds::phaserX, &ZurizazAudioProcessorEditor::phaserXKnob, 0, 1, 0 },
        { ParameterIds::bite, &ZurizazAudioProcessorEditor::biteKnob, 2, 32, 32 },
    };

    // The knobs' float steps (0.1f, 0.02f) put their values a few millionths off the decimals.
    constexpr double knobTolerance = 1.0e-6;
}

TEST (KnobAttachment, AHostValueThatIsNotFiniteLeavesTheMessageLoopRunningAndTheKnobWhereThePlayedValueIs)
{
    const NonFiniteOnPurpose nonFinite;
    Watchdog watchdog;
    constexpr auto infinity = std::numeric_limits<float>::infinity();

    // NaN stays in the parameter, and the audio plays the default for it; the parameter's range
    // takes +Inf to its maximum and -Inf to its minimum, which the audio then plays.
    enum Shown
    {
        theDefault,
        theMaximum,
        theMinimum
    };

    for (auto panelOpen : { false, true })
    {
        for (const auto& row : knobRows)
        {
            for (auto [value, shown] : { std::pair { std::numeric_limits<float>::quiet_NaN(), theDefault },
                                         std::pair { infinity, theMaximum },
                                         std::pair { -infinity, theMinimum } })
            {
                SCOPED_TRACE (juce::String (row.id) + " " + juce::String (value) + (panelOpen ? ", panel open" : ", panel closed"));
                EditorSession session;
                session.open();

                if (panelOpen)
                {
                    session.processor.knobsShowing = true;
                    session.paintOnce();
                }

                auto& knob = session.ui().*row.knob;
                ASSERT_EQ (knob.isVisible(), panelOpen);

                // From a value in between, so that every outcome is a move.
                session.setParameter (row.id, (float) (0.5 * (row.minimum + row.maximum)));

                {
                    const Watchdog::Step step (watchdog, juce::String (row.id).toStdString() + " = " + juce::String (value).toStdString(),
                                               std::chrono::seconds (20));
                    session.processor.treeState.getParameter (row.id)->setValueNotifyingHost (value);
                    EXPECT_TRUE (runPendingMessages (2000)) << "the message loop never went quiet";
                }

                const auto expected = shown == theDefault ? row.defaultValue : (shown == theMaximum ? row.maximum : row.minimum);
                EXPECT_NEAR (knob.getValue(), expected, knobTolerance);

                // The knob shows the value without writing it back.
                const auto stored = session.parameter (row.id);
                if (shown == theDefault)
                    EXPECT_TRUE (std::isnan (stored)) << stored;
                else
                    EXPECT_NEAR (stored, expected, knobTolerance);
            }
        }
    }
}
