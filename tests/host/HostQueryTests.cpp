#include "HostedPluginTest.h"

namespace
{
    struct OwnParameter
    {
        const char* id;
        const char* name;
    };

    // In the order the plug-in creates them.
    const std::vector<OwnParameter> ownParameters {
        { "speed", "Speed" },
        { "fx", "Fx" },
        { "impact", "Impact" },
        { "depth", "Depth" },
        { "rate", "Rate" },
        { "feedback", "Feedback" },
        { "phaserX", "PhaserX" },
        { "bite", "Bite" },
        { "bypassOn", "BypassOn" },
        { "knobsShowing", "KnobsShowing" },
        { "presets", "Presets" },
        { "babyRadod1", "BabyRadod1" },
        { "babyRadod2", "BabyRadod2" },
        { "babyRadod3", "BabyRadod3" },
        { "babyRadod4", "BabyRadod4" },
        { "babyRadod5", "BabyRadod5" },
        { "babyRadod6", "BabyRadod6" },
        { "babyRadod7", "BabyRadod7" },
        { "babyRadod8", "BabyRadod8" },
    };

    // A VST3 host lists parameters in the plug-in's order. LV2 has no parameter order: the LV2
    // host lists the plug-in's parameters by URI, and the URIs end in the IDs.
    std::vector<juce::String> expectedParameterNames (bool inCreationOrder)
    {
        auto rows = ownParameters;

        if (! inCreationOrder)
            std::sort (rows.begin(), rows.end(), [] (const auto& a, const auto& b)
                       { return std::strcmp (a.id, b.id) < 0; });

        std::vector<juce::String> names;

        for (const auto& row : rows)
            names.push_back (row.name);

        return names;
    }
}

class HostedQueries : public HostedPluginTest
{};

TEST_P (HostedQueries, ListsTheNineteenParametersWithTheirNamesAndOnlyTheWrappersBypassBesides)
{
    std::vector<juce::String> names;
    auto* bypass = plugin->getBypassParameter();

    for (auto* parameter : plugin->getParameters())
        if (parameter != bypass)
            names.push_back (parameter->getName (100));

    EXPECT_EQ (names, expectedParameterNames (isVst3()));

    // The plug-in offers no bypass parameter, so each wrapper adds its own: the VST3 client a
    // "Bypass" parameter after the plug-in's, the LV2 client the port designated lv2:enabled.
    ASSERT_NE (bypass, nullptr);
    EXPECT_EQ (plugin->getParameters().size(), (int) ownParameters.size() + 1);
    EXPECT_EQ (bypass->getName (100), "Bypass");

    if (isVst3())
    {
        EXPECT_EQ (bypass->getParameterIndex(), (int) ownParameters.size());
    }
}

TEST_P (HostedQueries, ReportsItsNameNoLatencyNoTailNoMidiAndStereoBuses)
{
    plugin->prepareToPlay (48000.0, 512);   // the VST3 host asks for the tail only once it has a rate

    EXPECT_EQ (plugin->getName(), "Zurizaz");
    EXPECT_EQ (plugin->getPluginDescription().name, "Zurizaz");
    EXPECT_EQ (plugin->getLatencySamples(), 0);
    EXPECT_EQ (plugin->getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (plugin->acceptsMidi());
    EXPECT_FALSE (plugin->producesMidi());

    ASSERT_EQ (plugin->getBusCount (true), 1);
    ASSERT_EQ (plugin->getBusCount (false), 1);
    EXPECT_EQ (plugin->getChannelLayoutOfBus (true, 0), juce::AudioChannelSet::stereo());
    EXPECT_EQ (plugin->getChannelLayoutOfBus (false, 0), juce::AudioChannelSet::stereo());
}

TEST_P (HostedQueries, ShowsTheHostNoProgramsSoNoNamelessPreset)
{
    // The plug-in's one program has no name and holds nothing. The VST3 client offers the
    // program-change parameter, through which a VST3 host lists programs, only for more than one
    // program; the LV2 client would list each program as a preset, so the plug-in gives it none.
    EXPECT_EQ (plugin->getNumPrograms(), 0);
    EXPECT_EQ (plugin->getCurrentProgram(), 0);
}

ZURIZAZ_INSTANTIATE_FOR_EACH_FORMAT (HostedQueries);

//==============================================================================
// An LV2's ports are fixed when its bundle is built, so only the VST3 host can ask for layouts.
TEST (HostedVst3Layouts, AcceptsMatchingMonoOrStereoAndRefusesMixedOrSurroundLayouts)
{
    using Set = juce::AudioChannelSet;

    struct Case
    {
        const char* label;
        Set input, output;
        bool accepted;
    };

    const Case cases[] = {
        { "stereo to stereo", Set::stereo(), Set::stereo(), true },
        { "mono to mono", Set::mono(), Set::mono(), true },
        { "mono to stereo", Set::mono(), Set::stereo(), false },
        { "stereo to mono", Set::stereo(), Set::mono(), false },
        { "5.1 to 5.1", Set::create5point1(), Set::create5point1(), false },

        // A VST3 host may switch any bus off whatever the plug-in says: the VST3 client keeps
        // the processor on its last layout and feeds it silence or drops its output.
        { "no input to stereo", Set::disabled(), Set::stereo(), true },
        { "stereo to no output", Set::stereo(), Set::disabled(), true },
    };

    juce::String error;
    auto plugin = PluginHost::loadBuiltZurizaz ("VST3", error);
    ASSERT_NE (plugin, nullptr) << error;

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.label);

        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (c.input);
        layout.outputBuses.add (c.output);

        EXPECT_EQ (plugin->checkBusesLayoutSupported (layout), c.accepted);

        const auto before = plugin->getBusesLayout();
        EXPECT_EQ (plugin->setBusesLayout (layout), c.accepted);
        EXPECT_TRUE (plugin->getBusesLayout() == (c.accepted ? layout : before));

        plugin->setBusesLayout (before);
    }
}
