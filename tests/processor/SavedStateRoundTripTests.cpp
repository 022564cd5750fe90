#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "SavedStateBlobs.h"

using namespace StateBlobs;

namespace
{
    constexpr auto numSteps = (size_t) ZurizazAudioProcessor::numSteps;

    /** The ways a value set in the editor comes back: in a new instance the saved blob is
        restored into, before and after its prepare (a reloaded session), and on the instance that
        saved it after a re-prepare.
    */
    template <typename Check>
    void forBothRoundTrips (ZurizazAudioProcessor& saved, Check&& check)
    {
        const auto blob = save (saved);

        {
            SCOPED_TRACE ("restored into a new instance");
            ZurizazAudioProcessor reloaded;
            restore (reloaded, blob);
            check (reloaded);
            reloaded.prepareToPlay (44100.0, 512);
            check (reloaded);
        }

        {
            SCOPED_TRACE ("same instance");
            saved.prepareToPlay (44100.0, 512);
            check (saved);
        }
    }

    /** A blob as the earlier parameter set wrote it: one PARAM per (ID, plain value) pair given. */
    juce::MemoryBlock earlierBlob (const std::vector<std::pair<juce::String, float>>& values)
    {
        juce::ValueTree tree ("Zurizaz");

        for (const auto& [id, value] : values)
            tree.appendChild (juce::ValueTree ("PARAM", { { "id", id }, { "value", (double) value } }), nullptr);

        juce::MemoryBlock blob;
        juce::AudioProcessor::copyXmlToBinary (*tree.createXml(), blob);
        return blob;
    }
}

//==============================================================================
TEST (SavedStateRoundTrip, BypassAndPanelVisibilityComeBackAsThemselves)
{
    for (auto on : { false, true })
    {
        SCOPED_TRACE (on);
        ZurizazAudioProcessor p;
        p.setBypassFromEditor (on);
        p.setKnobsShowingFromEditor (on);

        forBothRoundTrips (p, [on] (ZurizazAudioProcessor& after)
                           {
            EXPECT_EQ (after.bypassOn.load(), on);
            EXPECT_EQ (after.knobsShowing.load(), on); });
    }
}

TEST (SavedStateRoundTrip, EveryPresetIdComesBackAsItself)
{
    for (int id = 0; id <= 12; ++id)
    {
        SCOPED_TRACE (id);
        ZurizazAudioProcessor p;
        p.setPresetFromEditor (id);

        forBothRoundTrips (p, [id] (ZurizazAudioProcessor& after)
                           { EXPECT_EQ (after.currentPreset.load(), id); });
    }
}

TEST (SavedStateRoundTrip, EarlierSessionsKeepTheirPresetId)
{
    // Sessions saved with a "presets" range of 1..10 stored the id + 1 as the plain value.
    for (int stored = 1; stored <= 10; ++stored)
    {
        SCOPED_TRACE (stored);
        ZurizazAudioProcessor p;
        restore (p, earlierBlob ({ { "presets", (float) stored } }));
        p.prepareToPlay (44100.0, 512);
        EXPECT_EQ (p.currentPreset, stored - 1);
    }
}

TEST (SavedStateRoundTrip, WholeHandleHeightsComeBackExactly)
{
    // The grid's ends (4 px is its first point, 400 px its last) and their neighbours, each
    // handle at a different height so that a mix-up between carriers shows too; then one sweep
    // of random heights over the whole grid.
    std::vector<std::array<float, numSteps>> patterns {
        { 4.0f, 5.0f, 6.0f, 7.0f, 397.0f, 398.0f, 399.0f, 400.0f },
        { 400.0f, 399.0f, 8.0f, 200.0f, 201.0f, 5.0f, 4.0f, 396.0f },
    };

    juce::Random random (397);

    for (int sweep = 0; sweep < 12; ++sweep)
    {
        std::array<float, numSteps> heights {};

        for (auto& height : heights)
            height = (float) (4 + random.nextInt (397));

        patterns.push_back (heights);
    }

    for (const auto& heights : patterns)
    {
        ZurizazAudioProcessor p;

        for (size_t k = 0; k < numSteps; ++k)
            p.setHandleHeightFromEditor ((int) k, (int) heights[k]);

        forBothRoundTrips (p, [&] (ZurizazAudioProcessor& after)
                           {
            for (size_t k = 0; k < numSteps; ++k)
                ASSERT_EQ (after.handleHeight[k].load(), heights[k]) << "handle " << k + 1; });
    }
}

TEST (SavedStateRoundTrip, RepeatedSaveAndPrepareCyclesLeaveHeightsAndGainsAlone)
{
    const std::array<float, numSteps> heights { 82.0f, 83.0f, 104.0f, 150.0f, 201.0f, 299.0f, 350.0f, 400.0f };

    ZurizazAudioProcessor p;
    for (size_t k = 0; k < numSteps; ++k)
        p.setHandleHeightFromEditor ((int) k, (int) heights[k]);

    p.prepareToPlay (44100.0, 512);

    std::array<float, numSteps> gains {};
    for (size_t k = 0; k < numSteps; ++k)
        gains[k] = p.stepGain[k];

    for (int cycle = 0; cycle < 10; ++cycle)
    {
        SCOPED_TRACE (cycle);
        const auto blob = save (p);
        restore (p, blob);
        p.prepareToPlay (48000.0, 256);

        for (size_t k = 0; k < numSteps; ++k)
        {
            EXPECT_EQ (p.handleHeight[k].load(), heights[k]);
            EXPECT_EQ (p.stepGain[k].load(), gains[k]);
        }

        EXPECT_EQ (blob, save (p));
    }
}

TEST (SavedStateRoundTrip, EarlierSessionsKeepTheirHandleHeights)
{
    // The earlier carriers had a 0.01 grid and gave plain value × 400 in float, a few millionths
    // off the whole pixel at times (0.26 gave 103.99999). They now load to that whole pixel.
    const juce::NormalisableRange<float> earlierRange (0.01f, 1.0f, 0.01f);

    for (int step = 0; step <= 99; ++step)
    {
        const auto earlierPlain = earlierRange.snapToLegalValue (earlierRange.convertFrom0to1 ((float) step / 99.0f));
        const auto earlierHeight = earlierPlain * 400.0f;
        SCOPED_TRACE (juce::String (earlierPlain, 8));

        ZurizazAudioProcessor p;
        restore (p, earlierBlob ({ { "babyRadod1", earlierPlain }, { "babyRadod8", earlierPlain } }));
        p.prepareToPlay (44100.0, 512);

        EXPECT_EQ (p.handleHeight[0].load(), (float) (4 * (step + 1)));
        EXPECT_EQ (p.handleHeight[7].load(), p.handleHeight[0].load());
        EXPECT_NEAR (p.handleHeight[0].load(), earlierHeight, 0.0001f);
    }
}

TEST (SavedStateRoundTrip, RestoringGivesEachStepTheGainOfItsHandleAtOnce)
{
    // The gains of the design's band table; a height outside the handles' range plays at full level.
    const std::array<int, numSteps> heights { 82, 83, 100, 140, 200, 300, 350, 81 };
    const std::array<float, numSteps> gains { 1.0f, 0.1f, 0.2f, 0.4f, 0.6f, 0.9f, 1.0f, 1.0f };

    ZurizazAudioProcessor source;
    for (size_t k = 0; k < numSteps; ++k)
        source.setHandleHeightFromEditor ((int) k, heights[k]);

    ZurizazAudioProcessor reloaded;
    restore (reloaded, save (source));

    for (size_t k = 0; k < numSteps; ++k)
    {
        EXPECT_EQ (reloaded.handleHeight[k].load(), (float) heights[k]) << "step " << k + 1;
        EXPECT_FLOAT_EQ (reloaded.stepGain[k].load(), gains[k]) << "step " << k + 1;
    }
}

TEST (SavedStateRoundTrip, HeightsOutsideTheHandlesRangePlayAtFullLevel)
{
    for (auto height : { 4, 50, 81, 351, 399, 400 })
    {
        SCOPED_TRACE (height);
        ZurizazAudioProcessor p;
        setPlain (p, ParameterIds::handleHeights[3], 100.0f / 400.0f);
        ASSERT_EQ (p.stepGain[3].load(), 0.2f);

        setPlain (p, ParameterIds::handleHeights[3], (float) height / 400.0f);

        EXPECT_EQ (p.handleHeight[3].load(), (float) height);
        EXPECT_EQ (p.stepGain[3].load(), 1.0f);
    }
}
