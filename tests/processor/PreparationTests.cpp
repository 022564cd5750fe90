#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "FailOnJuceAssertion.h"
#include "Parameters.h"
#include "processor/PluginProcessor.h"

namespace
{
    bool allZero (const std::vector<float>& line)
    {
        return std::all_of (line.begin(), line.end(), [] (float x)
                            { return x == 0.0f; });
    }
}

TEST (Preparation, DelayLinesHoldTwoSecondsOfZerosAtEveryRate)
{
    ZurizazAudioProcessor p;

    for (auto [rate, length] : { std::pair { 44100.0, 88200 }, { 96000.0, 192000 }, { 22050.0, 44100 } })
    {
        SCOPED_TRACE (rate);
        std::fill (p.delayBufferLeft.begin(), p.delayBufferLeft.end(), 0.5f);
        std::fill (p.delayBufferRight.begin(), p.delayBufferRight.end(), -0.5f);
        p.writeIndex = 17;
        p.lfoPhase = 0.4f;
        p.previousGain = 0.3f;

        p.prepareToPlay (rate, 512);

        EXPECT_EQ (p.delayBufferLength, length);
        EXPECT_EQ (p.delayBufferLeft.size(), (size_t) length);
        EXPECT_EQ (p.delayBufferRight.size(), (size_t) length);
        EXPECT_TRUE (allZero (p.delayBufferLeft));
        EXPECT_TRUE (allZero (p.delayBufferRight));
        EXPECT_EQ (p.writeIndex, 0);
        EXPECT_EQ (p.lfoPhase, 0.0f);
        EXPECT_EQ (p.previousGain, 1.0f);
    }
}

// No interface runs at these rates: preparing for one neither throws nor misbehaves, and leaves no
// delay lines, so GLIMMER and QUAKE pass the audio through until a preparation at a real rate.
TEST (Preparation, ARateThatIsNotAnInterfacesGivesNoDelayLines)
{
    struct Case
    {
        double rate;
        int length;
    };

    const Case cases[] = {
        { std::numeric_limits<double>::quiet_NaN(), 0 },
        { std::numeric_limits<double>::infinity(), 0 },
        { -std::numeric_limits<double>::infinity(), 0 },
        { 0.0, 0 },
        { -48000.0, 0 },
        { 1.0e12, 0 },
        { 1000000.5, 0 },
        { 1000000.0, 2000000 },   // the highest rate taken
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.rate);
        ZurizazAudioProcessor p;
        p.prepareToPlay (48000.0, 512);

        p.setRateAndBufferSizeDetails (c.rate, 512);
        ASSERT_NO_THROW (p.prepareToPlay (c.rate, 512));

        EXPECT_EQ (p.delayBufferLength, c.length);
        EXPECT_EQ (p.delayBufferLeft.size(), (size_t) c.length);
        EXPECT_EQ (p.delayBufferRight.size(), (size_t) c.length);

        if (c.length == 0)
        {
            for (auto fx : { 1.0f, 4.0f })
            {
                p.treeState.getRawParameterValue (ParameterIds::fx)->store (fx);
                juce::AudioBuffer<float> buffer (2, 64);

                for (int i = 0; i < 64; ++i)
                    for (int ch = 0; ch < 2; ++ch)
                        buffer.setSample (ch, i, 0.3f - 0.01f * (float) i);

                const auto input = buffer;
                juce::MidiBuffer midi;
                p.processBlock (buffer, midi);

                for (int ch = 0; ch < 2; ++ch)
                    for (int i = 0; i < 64; ++i)
                        ASSERT_EQ (buffer.getSample (ch, i), input.getSample (ch, i)) << "fx " << fx;
            }
        }

        p.setRateAndBufferSizeDetails (44100.0, 512);
        p.prepareToPlay (44100.0, 512);
        EXPECT_EQ (p.delayBufferLength, 88200);
        EXPECT_EQ (p.delayBufferLeft.size(), 88200u);
    }
}

TEST (Preparation, AFreshInstanceKeepsItsStartingValuesWhichAreItsParametersDefaults)
{
    ZurizazAudioProcessor p;
    p.prepareToPlay (44100.0, 512);

    EXPECT_FALSE (p.bypassOn);
    EXPECT_FALSE (p.knobsShowing);
    EXPECT_EQ (p.currentPreset, 1);

    for (int k = 0; k < ZurizazAudioProcessor::numSteps; ++k)
    {
        EXPECT_EQ (p.handleHeight[(size_t) k].load(), 350.0f);
        EXPECT_EQ (p.stepGain[(size_t) k].load(), 1.0f);
    }

    // A host's "reset to default" lands where the instance started: preset 1 (stored as 2) and
    // the handles at 350 of 400 pixels.
    for (auto* parameter : p.getParameters())
        EXPECT_EQ (parameter->getValue(), parameter->getDefaultValue()) << parameter->getName (100);

    EXPECT_EQ (p.treeState.getRawParameterValue (ParameterIds::presets)->load(), 2.0f);
    EXPECT_EQ (p.treeState.getRawParameterValue (ParameterIds::handleHeights[0])->load(), 0.875f);
}

TEST (Preparation, EditorChangesSurviveAnyNumberOfRePrepares)
{
    ZurizazAudioProcessor p;
    p.prepareToPlay (44100.0, 512);

    p.setBypassFromEditor (true);
    p.setKnobsShowingFromEditor (true);
    p.setPresetFromEditor (6);
    const int heights[] = { 83, 100, 140, 160, 200, 230, 260, 300 };
    const float gains[] = { 0.1f, 0.2f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f };
    for (int k = 0; k < ZurizazAudioProcessor::numSteps; ++k)
        p.setHandleHeightFromEditor (k, heights[k]);

    juce::MemoryBlock saved;
    p.getStateInformation (saved);

    // Rate and block-size changes, deactivate/activate and offline renders all re-prepare.
    for (auto [rate, block] : { std::pair { 48000.0, 256 }, { 96000.0, 64 }, { 44100.0, 512 }, { 44100.0, 512 } })
    {
        SCOPED_TRACE (rate);
        p.releaseResources();
        p.prepareToPlay (rate, block);

        EXPECT_TRUE (p.bypassOn);
        EXPECT_TRUE (p.knobsShowing);
        EXPECT_EQ (p.currentPreset, 6);

        for (int k = 0; k < ZurizazAudioProcessor::numSteps; ++k)
        {
            EXPECT_EQ (p.handleHeight[(size_t) k].load(), (float) heights[k]);
            EXPECT_FLOAT_EQ (p.stepGain[(size_t) k].load(), gains[k]);
        }

        juce::MemoryBlock again;
        p.getStateInformation (again);
        EXPECT_EQ (again, saved);
    }
}

TEST (Preparation, AHostChangeOfAnEditorValueTakesAtOnceAndSurvivesARePrepare)
{
    // Each of the eleven, set by the host as a normalised value; what the member then holds.
    struct Case
    {
        const char* id;
        float normalised;
        std::function<bool (ZurizazAudioProcessor&)> holds;
    };
    const Case cases[] = {
        { ParameterIds::bypassOn, 1.0f, [] (auto& p)
          { return p.bypassOn.load(); } },
        { ParameterIds::knobsShowing, 1.0f, [] (auto& p)
          { return p.knobsShowing.load(); } },
        { ParameterIds::presets, 7.0f / 12.0f, [] (auto& p)
          { return p.currentPreset.load() == 7; } },   // 8, preset 7
        { ParameterIds::presets, 0.0f, [] (auto& p)
          { return p.currentPreset.load() == 0; } },   // 1, no preset
        { ParameterIds::handleHeights[0], 0.0909f, [] (auto& p)
          { return p.handleHeight[0].load() == 40.0f && p.stepGain[0].load() == 1.0f; } },
        { ParameterIds::handleHeights[1], 0.1f, [] (auto& p)
          { return p.handleHeight[1].load() == 44.0f && p.stepGain[1].load() == 1.0f; } },
        { ParameterIds::handleHeights[2], 0.2f, [] (auto& p)
          { return p.handleHeight[2].load() == 83.0f && p.stepGain[2].load() == 0.1f; } },
        { ParameterIds::handleHeights[3], 0.25f, [] (auto& p)
          { return p.handleHeight[3].load() == 103.0f && p.stepGain[3].load() == 0.2f; } },
        { ParameterIds::handleHeights[4], 0.5f, [] (auto& p)
          { return p.handleHeight[4].load() == 202.0f && p.stepGain[4].load() == 0.6f; } },
        { ParameterIds::handleHeights[5], 0.75f, [] (auto& p)
          { return p.handleHeight[5].load() == 301.0f && p.stepGain[5].load() == 0.9f; } },
        { ParameterIds::handleHeights[6], 0.6f, [] (auto& p)
          { return p.handleHeight[6].load() == 242.0f && p.stepGain[6].load() == 0.7f; } },
        { ParameterIds::handleHeights[7], 1.0f, [] (auto& p)
          { return p.handleHeight[7].load() == 400.0f && p.stepGain[7].load() == 1.0f; } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.id) + " at " + juce::String (c.normalised));
        ZurizazAudioProcessor p;
        p.prepareToPlay (44100.0, 512);

        p.treeState.getParameter (c.id)->setValueNotifyingHost (c.normalised);
        EXPECT_TRUE (c.holds (p));

        juce::MemoryBlock saved;
        p.getStateInformation (saved);

        p.prepareToPlay (48000.0, 256);
        EXPECT_TRUE (c.holds (p));

        juce::MemoryBlock again;
        p.getStateInformation (again);
        EXPECT_EQ (again, saved);

        ZurizazAudioProcessor reloaded;
        reloaded.setStateInformation (saved.getData(), (int) saved.getSize());
        EXPECT_TRUE (c.holds (reloaded));
    }
}

// A host may push NaN or an infinity through. The framework's parameters hold NaN as it is (a
// float) or as 0 (an int), and clamp an infinity to their range; the members say what the
// parameter holds, with a held NaN read as the default, so that what plays, what the window shows
// and what the next save writes agree.
TEST (Preparation, AHostValueThatIsNotFiniteLeavesEachEditorValueAsItsParameterHoldsIt)
{
    const NonFiniteOnPurpose nonFinite;
    constexpr auto nan = std::numeric_limits<float>::quiet_NaN();
    constexpr auto inf = std::numeric_limits<float>::infinity();

    struct Case
    {
        float bad;
        bool bypassAndPanel;
        int preset;
        float height;
    };

    // NaN: the start for all but the preset, which the parameter holds as below its range: none.
    for (const auto& c : { Case { nan, false, 0, 350.0f }, Case { inf, true, 12, 400.0f }, Case { -inf, false, 0, 4.0f } })
    {
        SCOPED_TRACE (c.bad);
        ZurizazAudioProcessor p;
        p.prepareToPlay (44100.0, 512);

        for (auto* id : { ParameterIds::bypassOn, ParameterIds::knobsShowing, ParameterIds::presets,
                          ParameterIds::handleHeights[0], ParameterIds::handleHeights[7] })
        {
            p.treeState.getParameter (id)->setValueNotifyingHost (0.1f);
            p.treeState.getParameter (id)->setValueNotifyingHost (1.0f);
            p.treeState.getParameter (id)->setValueNotifyingHost (c.bad);
        }

        EXPECT_EQ (p.bypassOn.load(), c.bypassAndPanel);
        EXPECT_EQ (p.knobsShowing.load(), c.bypassAndPanel);
        EXPECT_EQ (p.currentPreset.load(), c.preset);

        for (auto k : { 0, 7 })
        {
            EXPECT_EQ (p.handleHeight[(size_t) k].load(), c.height);
            EXPECT_EQ (p.stepGain[(size_t) k].load(), 1.0f);
        }
    }
}

TEST (Preparation, AHostChangePlaysInTheNextBlock)
{
    ZurizazAudioProcessor p;
    p.setRateAndBufferSizeDetails (44100.0, 64);
    p.prepareToPlay (44100.0, 64);
    setPlain (p, ParameterIds::fx, 3.0f);   // SILENCE: the gate alone shapes the level

    juce::AudioBuffer<float> buffer (2, 64);
    juce::MidiBuffer midi;

    const auto lastSampleOfABlockOfOnes = [&]
    {
        for (int ch = 0; ch < 2; ++ch)
            juce::FloatVectorOperations::fill (buffer.getWritePointer (ch), 1.0f, 64);

        p.processBlock (buffer, midi);
        return buffer.getSample (0, 63);
    };

    EXPECT_EQ (lastSampleOfABlockOfOnes(), 1.0f);

    // Step 1's handle to 100 pixels: the next block ramps down, the one after plays at 0.2.
    setPlain (p, ParameterIds::handleHeights[0], 0.25f);
    EXPECT_LT (lastSampleOfABlockOfOnes(), 0.25f);
    EXPECT_FLOAT_EQ (lastSampleOfABlockOfOnes(), 0.2f);

    // Bypass on: the block passes untouched.
    setPlain (p, ParameterIds::bypassOn, 1.0f);
    EXPECT_EQ (lastSampleOfABlockOfOnes(), 1.0f);
}

TEST (Preparation, LeavesTheGateAndFeedbackWhereTheyStood)
{
    ZurizazAudioProcessor p;
    p.prepareToPlay (44100.0, 512);

    p.currentStep = 5;
    p.stepClock = 3072;
    p.chunkCounter = 100;
    p.feedbackLeft = 0.25f;
    p.feedbackRight = -0.125f;
    p.setHandleHeightFromEditor (2, 140);
    p.stepLight[5] = true;
    p.samplesPerBar = 88200;

    p.prepareToPlay (96000.0, 512);

    EXPECT_EQ (p.currentStep, 5);
    EXPECT_EQ (p.stepClock, 3072);
    EXPECT_EQ (p.chunkCounter, 100);
    EXPECT_EQ (p.feedbackLeft, 0.25f);
    EXPECT_EQ (p.feedbackRight, -0.125f);
    EXPECT_EQ (p.stepGain[2].load(), 0.4f);
    EXPECT_EQ (p.handleHeight[2].load(), 140.0f);
    EXPECT_TRUE (p.stepLight[5]);
    EXPECT_EQ (p.samplesPerBar, 88200);
}
