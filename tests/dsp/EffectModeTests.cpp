#include <gtest/gtest.h>

#include "FloatBits.h"
#include "ProcessorHarness.h"
#include "dsp/EffectModes.h"

#include <limits>

using namespace EffectModes;
using FloatBits::bitsOf;

TEST (EffectModes, DistortShapesByTheArctangent)
{
    struct Case
    {
        float impact, input, output;
    };

    const Case cases[] = {
        { 1.0f, 0.0f, 0.0f },
        { 1.0f, 1.0f, 0.14994f },
        { 1.0f, -1.0f, -0.14994f },
        { 0.1f, 0.01f, 0.0505032f },   // 0.1 (0.005 + (2 / pi) atan (100.01 * 0.01)), worked out apart
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.input);
        EXPECT_NEAR (distortSample (c.input, c.impact), c.output, 1.0e-5f);
    }
}

TEST (EffectModes, DestroyBitDepthFollowsStrictBiteBands)
{
    const std::pair<float, int> cases[] = {
        { 32.0f, 8 },
        { 24.5f, 8 },
        { 24.0f, 4 },
        { 20.0f, 6 },
        { 12.5f, 6 },
        { 12.0f, 4 },
        { 2.0f, 4 },
    };

    for (auto [bite, depth] : cases)
    {
        SCOPED_TRACE (bite);
        EXPECT_EQ (destroyBitDepth (bite), depth);
    }
}

TEST (EffectModes, QuantisingTruncatesTowardZero)
{
    EXPECT_EQ (quantise (0.3f, 1.0f / 16.0f), 0.25f);
    EXPECT_EQ (quantise (-0.3f, 1.0f / 16.0f), -0.25f);
    EXPECT_EQ (quantise (0.3f, 1.0f / 256.0f), 0.296875f);
    EXPECT_EQ (quantise (0.31f, 1.0f / 64.0f), 0.296875f);
    EXPECT_EQ (quantise (0.31f, 1.0f / 256.0f), 0.30859375f);
}

TEST (EffectModes, DestroyLevelCurveScalesBy4mTimesOneLessM)
{
    for (auto [impact, factor] : { std::pair { 1.0f, 1.0f }, { 0.5f, 0.75f }, { 0.1f, 0.19f } })
    {
        SCOPED_TRACE (impact);
        EXPECT_NEAR (destroyLevelLeft (0.8f, impact), 0.8f * factor, 1.0e-6f);
        EXPECT_NEAR (destroyLevelRight (0.8f, impact), 0.8f * factor, 1.0e-6f);
    }
}

//==============================================================================
namespace
{
    juce::AudioBuffer<float> runStereo (float fx, std::vector<float> left, std::vector<float> right,
                                        float impact = 1.0f, float bite = 32.0f)
    {
        ZurizazAudioProcessor p;
        prepare (p, 44100.0);
        setRaw (p, ParameterIds::fx, fx);
        setRaw (p, ParameterIds::impact, impact);
        setRaw (p, ParameterIds::bite, bite);

        juce::AudioBuffer<float> buffer (2, (int) left.size());
        buffer.copyFrom (0, 0, left.data(), (int) left.size());
        buffer.copyFrom (1, 0, right.data(), (int) right.size());
        process (p, buffer);
        return buffer;
    }
}

TEST (EffectModes, SilenceLeavesEverySampleUnchanged)
{
    const std::vector<float> left { 0.3f, -1.0f, 2.5f, 1.0e-3f }, right { -0.1f, 0.0f, 0.7f, -2.0f };
    const auto out = runStereo (3.0f, left, right);

    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ (out.getSample (0, i), left[(size_t) i]);
        EXPECT_EQ (out.getSample (1, i), right[(size_t) i]);
    }
}

TEST (EffectModes, DistortShapesEachChannelOnce)
{
    const auto out = runStereo (2.0f, { 1.0f, 0.0f }, { -1.0f, 1.0f });

    EXPECT_NEAR (out.getSample (0, 0), 0.14994f, 1.0e-5f);
    EXPECT_EQ (out.getSample (0, 1), 0.0f);
    EXPECT_NEAR (out.getSample (1, 0), -0.14994f, 1.0e-5f);
    EXPECT_NEAR (out.getSample (1, 1), 0.14994f, 1.0e-5f);
}

// Channel 0 is quantised, then curved in both passes; channel 1 is curved in channel 0's pass,
// then quantised and curved again in its own.
TEST (EffectModes, DestroyCurvesTheLevelTwicePerStereoFrame)
{
    const auto out = runStereo (5.0f, { 0.3f, 0.5f }, { 0.35f, 0.5f }, 0.5f, 2.0f);

    EXPECT_EQ (out.getSample (0, 0), 0.25f * 0.5625f);   // 0.3 -> 0.25 -> * 0.75 -> * 0.75
    EXPECT_EQ (out.getSample (1, 0), 0.1875f);           // 0.35 -> * 0.75 = 0.2625 -> 0.25 -> * 0.75
    EXPECT_EQ (out.getSample (0, 1), 0.28125f);          // 0.5 * 0.5625
    EXPECT_EQ (out.getSample (1, 1), 0.28125f);
}

TEST (EffectModes, DestroyTakesItsBitDepthFromTheBlocksBite)
{
    ZurizazAudioProcessor p;
    prepare (p, 44100.0);
    setRaw (p, ParameterIds::fx, 5.0f);
    setRaw (p, ParameterIds::bite, 32.0f);

    auto buffer = constantBuffer (2, 3, 0.31f);
    process (p, buffer);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ (buffer.getSample (0, i), 0.30859375f);

    setRaw (p, ParameterIds::bite, 20.0f);
    buffer = constantBuffer (2, 3, 0.31f);
    process (p, buffer);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ (buffer.getSample (0, i), 0.296875f);
}

// The fast route of the quantiser must match v - fmodf (v, 1 / levels) bit for bit, signed zeros,
// tiny, huge and non-finite values included, at every bit depth the modes use.
TEST (EffectModes, QuantiserMatchesFmodBitForBit)
{
    std::vector<float> values { 0.0f, -0.0f, 1.0f, -1.0f, 0.3f, -0.3f, 1.0e-12f, -1.0e-12f, 1.0e-40f, -1.0e-40f,
                                1.0e6f, -1.0e6f, 3.0e38f, -3.0e38f, 8388607.5f, 0.99999994f,
                                std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                                std::numeric_limits<float>::quiet_NaN() };

    juce::Random random (7);
    for (int k = 0; k < 20000; ++k)
        values.push_back ((random.nextFloat() * 2.0f - 1.0f) * std::exp2 ((float) random.nextInt ({ -40, 10 })));

    std::vector<float> bites;
    for (int bite = 0; bite <= 32; ++bite)
        bites.push_back ((float) bite);

    for (auto bite : { 2.5f, 4.5f, 24.25f, 31.9f })
        bites.push_back (bite);

    for (auto bite : bites)
    {
        SCOPED_TRACE (bite);
        Quantiser quantiser;
        quantiser.setLevels (std::exp2 (bite));
        const auto stepSize = 1.0f / std::exp2 (bite);

        int mismatches = 0;
        for (auto v : values)
        {
            const auto expected = quantise (v, stepSize), actual = quantiser (v);

            if (! (std::isnan (expected) && std::isnan (actual)) && bitsOf (expected) != bitsOf (actual))
                ++mismatches;
        }

        EXPECT_EQ (mismatches, 0);
    }
}
