#include <gtest/gtest.h>

#include "processor/PluginProcessor.h"

namespace
{
    struct ParameterRow
    {
        const char* id;
        const char* name;
        bool isInt;
        float minimum, maximum, defaultValue;
        float startingPlainValue;   // what the tree state holds before anything changes it
        bool automatable = true;
    };

    // Host index order. The editor's values start where the processor's do: preset 1 (stored as
    // 2), every handle at 350 pixels (0.875 of 400). A preset is not offered for automation.
    const ParameterRow parameterTable[] = {
        { "speed", "Speed", false, 1.0f, 3.0f, 2.0f, 2.0f },
        { "fx", "Fx", false, 1.0f, 5.0f, 1.0f, 1.0f },
        { "impact", "Impact", false, 0.1f, 1.0f, 1.0f, 1.0f },
        { "depth", "Depth", false, 0.0f, 1.0f, 0.2f, 0.19999999f },
        { "rate", "Rate", false, 0.1f, 20.0f, 3.5f, 3.4999998f },
        { "feedback", "Feedback", false, 0.0f, 0.6f, 0.3f, 0.29999998f },
        { "phaserX", "PhaserX", false, 0.0f, 1.0f, 0.0f, 0.0f },
        { "bite", "Bite", false, 2.0f, 32.0f, 32.0f, 32.0f },
        { "bypassOn", "BypassOn", true, 0.0f, 1.0f, 0.0f, 0.0f },
        { "knobsShowing", "KnobsShowing", true, 0.0f, 1.0f, 0.0f, 0.0f },
        { "presets", "Presets", true, 1.0f, 13.0f, 2.0f, 2.0f, false },
        { "babyRadod1", "BabyRadod1", false, 0.01f, 1.0f, 0.875f, 0.875f },
        { "babyRadod2", "BabyRadod2", false, 0.01f, 1.0f, 0.875f, 0.875f },
        { "babyRadod3", "BabyRadod3", false, 0.01f, 1.0f, 0.875f, 0.875f },
        { "babyRadod4", "BabyRadod4", false, 0.01f, 1.0f, 0.875f, 0.875f },
        { "babyRadod5", "BabyRadod5", false, 0.01f, 1.0f, 0.875f, 0.875f },
        { "babyRadod6", "BabyRadod6", false, 0.01f, 1.0f, 0.875f, 0.875f },
        { "babyRadod7", "BabyRadod7", false, 0.01f, 1.0f, 0.875f, 0.875f },
        { "babyRadod8", "BabyRadod8", false, 0.01f, 1.0f, 0.875f, 0.875f },
    };

    float plainAfterSettingNormalised (ZurizazAudioProcessor& p, const char* id, float normalised)
    {
        p.treeState.getParameter (id)->setValueNotifyingHost (normalised);
        return p.treeState.getRawParameterValue (id)->load();
    }
}

TEST (Parameters, HostSeesTheTableInOrder)
{
    ZurizazAudioProcessor p;
    const auto& params = p.getParameters();
    ASSERT_EQ (params.size(), 19);

    for (int i = 0; i < params.size(); ++i)
    {
        SCOPED_TRACE (parameterTable[i].id);
        const auto& row = parameterTable[i];
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (params[i]);
        ASSERT_NE (ranged, nullptr);

        EXPECT_EQ (ranged->getParameterID(), row.id);
        EXPECT_EQ (ranged->getName (100), row.name);
        EXPECT_EQ (ranged->getLabel(), "");
        EXPECT_EQ (ranged->isAutomatable(), row.automatable);
        EXPECT_FALSE (ranged->isMetaParameter());
        EXPECT_EQ (ranged->getVersionHint(), 0);
        EXPECT_EQ (ranged->getCategory(), juce::AudioProcessorParameter::genericParameter);
        EXPECT_EQ (ranged->getNormalisableRange().start, row.minimum);
        EXPECT_EQ (ranged->getNormalisableRange().end, row.maximum);
        EXPECT_EQ (ranged->convertFrom0to1 (ranged->getDefaultValue()),
                   ranged->getNormalisableRange().snapToLegalValue (row.defaultValue));

        if (row.isInt)
        {
            EXPECT_NE (dynamic_cast<juce::AudioParameterInt*> (ranged), nullptr);
        }
        else
        {
            EXPECT_NE (dynamic_cast<juce::AudioParameterFloat*> (ranged), nullptr);
            // The height carriers step by one pixel of 400.
            const auto interval = juce::String (row.id).startsWith ("babyRadod") ? 0.0025f : 0.01f;
            EXPECT_EQ (ranged->getNormalisableRange().interval, interval);
            EXPECT_EQ (ranged->getNormalisableRange().skew, 1.0f);
        }

        EXPECT_EQ (p.treeState.getRawParameterValue (row.id)->load(), row.startingPlainValue);
    }

    EXPECT_EQ (p.getBypassParameter(), nullptr);
}

TEST (Parameters, IntegerParametersReportTheirStepCounts)
{
    ZurizazAudioProcessor p;
    EXPECT_EQ (p.treeState.getParameter (ParameterIds::bypassOn)->getNumSteps(), 2);
    EXPECT_EQ (p.treeState.getParameter (ParameterIds::knobsShowing)->getNumSteps(), 2);
    EXPECT_EQ (p.treeState.getParameter (ParameterIds::presets)->getNumSteps(), 13);
}

TEST (Parameters, NormalisedValuesSnapToTheGrid)
{
    struct Case
    {
        const char* id;
        float normalised;
        float plain;
    };
    const Case cases[] = {
        { ParameterIds::speed, 0.25f, 1.5f },
        { ParameterIds::bite, 0.5f, 17.0f },
        { ParameterIds::presets, 0.5f, 7.0f },
        { ParameterIds::presets, 1.1f, 13.0f },
        { ParameterIds::presets, 1.2f, 13.0f },
        { ParameterIds::handleHeights[0], 0.3f, 0.3075f },   // 0.307 snapped to the 0.0025 grid
        { ParameterIds::handleHeights[0], 0.0f, 0.01f },
        { ParameterIds::handleHeights[0], 1.0f, 1.0f },
        { ParameterIds::handleHeights[0], -0.5f, 0.01f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.id) + " at " + juce::String (c.normalised));
        ZurizazAudioProcessor p;
        EXPECT_FLOAT_EQ (plainAfterSettingNormalised (p, c.id, c.normalised), c.plain);
    }
}

TEST (Parameters, SpeedIsContinuousOnItsGrid)
{
    ZurizazAudioProcessor p;
    auto* speed = p.treeState.getParameter (ParameterIds::speed);
    speed->setValueNotifyingHost (speed->convertTo0to1 (2.37f));
    EXPECT_FLOAT_EQ (p.treeState.getRawParameterValue (ParameterIds::speed)->load(), 2.37f);
}
