#include "HostedPluginTest.h"

namespace
{
    // Normalised values away from every default and every range end, each landing on its
    // parameter's 0.01 grid (Rate 10.05, Bite 20) so that the plug-in keeps exactly what the
    // host sends.
    const std::pair<const char*, float> changedParameters[] = {
        { "Speed", 0.75f },
        { "Fx", 0.5f },
        { "Impact", 0.3f },
        { "Depth", 0.65f },
        { "Rate", 0.5f },
        { "Feedback", 0.9f },
        { "PhaserX", 0.25f },
        { "Bite", 0.6f },
    };

    void runOneBlock (juce::AudioPluginInstance& instance)
    {
        juce::AudioBuffer<float> buffer (2, 512);
        buffer.clear();
        juce::MidiBuffer midi;
        instance.processBlock (buffer, midi);
    }
}

class HostedState : public HostedPluginTest
{};

TEST_P (HostedState, AFreshInstanceRestoresEveryParameterOfTheSavedOne)
{
    plugin->prepareToPlay (48000.0, 512);

    for (const auto& [name, value] : changedParameters)
    {
        auto* parameter = findParameter (*plugin, name);
        ASSERT_NE (parameter, nullptr) << name;
        parameter->setValueNotifyingHost (value);
    }

    // An LV2 host hands parameter changes to the plug-in inside its run call; so do hosts.
    runOneBlock (*plugin);

    juce::MemoryBlock saved;
    plugin->getStateInformation (saved);
    ASSERT_GT (saved.getSize(), 0u);

    ASSERT_FALSE (PluginHost::pluginStateInside (formatName(), saved).isEmpty());

    auto restored = load();
    ASSERT_NE (restored, nullptr);
    restored->prepareToPlay (48000.0, 512);
    restored->setStateInformation (saved.getData(), (int) saved.getSize());
    runOneBlock (*restored);   // lets the LV2 plug-in report the restored values to the host

    // Compare all of them: the save also writes the plug-in's editor-state parameters.
    const auto& expected = plugin->getParameters();
    const auto& actual = restored->getParameters();
    ASSERT_EQ (actual.size(), expected.size());

    for (int i = 0; i < expected.size(); ++i)
    {
        SCOPED_TRACE (expected[i]->getName (100));
        EXPECT_EQ (actual[i]->getName (100), expected[i]->getName (100));
        EXPECT_NEAR (actual[i]->getValue(), expected[i]->getValue(), 1.0e-5f);
    }

    restored->releaseResources();
}

TEST_P (HostedState, TheWrapperCarriesThePluginsOwnBlobIntact)
{
    juce::MemoryBlock saved;
    plugin->getStateInformation (saved);
    const auto own = PluginHost::pluginStateInside (formatName(), saved);

    // The framework's binary XML: "VC2!", the text's length, the text, a zero byte.
    ASSERT_GE (own.getSize(), 9u);
    EXPECT_EQ (juce::String::fromUTF8 (static_cast<const char*> (own.getData()), 4), "VC2!");
    EXPECT_EQ ((size_t) juce::ByteOrder::littleEndianInt (static_cast<const char*> (own.getData()) + 4), own.getSize() - 9);

    const auto xml = juce::AudioProcessor::getXmlFromBinary (own.getData(), (int) own.getSize());
    ASSERT_NE (xml, nullptr);
    EXPECT_TRUE (xml->hasTagName ("Zurizaz"));
    EXPECT_EQ (xml->getNumChildElements(), 19);
}

ZURIZAZ_INSTANTIATE_FOR_EACH_FORMAT (HostedState);
