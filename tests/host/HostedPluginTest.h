#pragma once

#include <cmath>

#include <gtest/gtest.h>

#include "PluginHost.h"

/** A fresh Zurizaz loaded through one format's hosting ("VST3" or "LV2", the test's parameter)
    for each test.
*/
class HostedPluginTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        plugin = load();
        ASSERT_NE (plugin, nullptr);
    }

    void TearDown() override
    {
        if (plugin != nullptr)
            plugin->releaseResources();
    }

    juce::String formatName() const { return GetParam(); }
    bool isVst3() const { return formatName() == "VST3"; }

    std::unique_ptr<juce::AudioPluginInstance> load() const
    {
        juce::String error;
        auto instance = PluginHost::loadBuiltZurizaz (formatName(), error);
        EXPECT_NE (instance, nullptr) << formatName() << ": " << error;
        return instance;
    }

    /** The hosted parameter with this name, or nullptr. */
    static juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& name)
    {
        for (auto* parameter : instance.getParameters())
            if (parameter->getName (100) == name)
                return parameter;

        return nullptr;
    }

    std::unique_ptr<juce::AudioPluginInstance> plugin;
};

/** A hosted instance that plays from a transport of the test's own while the test runs. */
template <typename Transport>
class HostedPluginWithTransport : public HostedPluginTest
{
protected:
    void SetUp() override
    {
        HostedPluginTest::SetUp();

        if (plugin != nullptr)
            plugin->setPlayHead (&transport);
    }

    void TearDown() override
    {
        if (plugin != nullptr)
            plugin->setPlayHead (nullptr);

        HostedPluginTest::TearDown();
    }

    Transport transport;
};

/** True when every sample of the buffer is a finite number. */
inline bool allFinite (const juce::AudioBuffer<float>& buffer)
{
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            if (! std::isfinite (buffer.getSample (channel, i)))
                return false;

    return true;
}

/** Names the instantiations after their format, so that test names end in /VST3 and /LV2. */
struct FormatNameOfTest
{
    std::string operator() (const ::testing::TestParamInfo<const char*>& info) const { return info.param; }
};

#define ZURIZAZ_INSTANTIATE_FOR_EACH_FORMAT(suite) \
    INSTANTIATE_TEST_SUITE_P (Formats, suite, ::testing::Values ("VST3", "LV2"), FormatNameOfTest())
