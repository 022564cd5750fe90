#include <gtest/gtest.h>

#include "MessageLoop.h"
#include "PluginHost.h"
#include "XDisplay.h"

namespace
{
    /** The parameter changes a host hears about, by name, in order. */
    struct HostRecorder : juce::AudioProcessorListener
    {
        void audioProcessorParameterChanged (juce::AudioProcessor* p, int index, float) override
        {
            changed.add (p->getParameters()[index]->getName (100));
        }

        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

        juce::StringArray changed;
    };

    float normalised (float plain, float minimum, float maximum) { return (plain - minimum) / (maximum - minimum); }

    juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& name)
    {
        for (auto* parameter : instance.getParameters())
            if (parameter->getName (100) == name)
                return parameter;

        return nullptr;
    }
}

TEST (HostedEditor, OpeningAppliesNothingAndTheNextPresetReachesTheHostAsParameterChanges)
{
    XDisplay user;

    if (! user.isOpen())
        GTEST_SKIP() << "needs an X display (the test script runs ctest under xvfb-run)";

    HostRecorder host;   // outlives the plug-in it listens to
    juce::String error;
    auto plugin = PluginHost::loadBuiltZurizaz ("VST3", error);
    ASSERT_NE (plugin, nullptr) << error;

    struct PlainValue
    {
        const char* name;
        float value, minimum, maximum;
    };

    // A session saved on "Baby Hate Machine" (id 5, stored as 6) with
    // every knob turned since, to values that neither that preset nor the next one has.
    for (auto [name, value, minimum, maximum] : { PlainValue { "Fx", 3.0f, 1.0f, 5.0f },
                                                  PlainValue { "Speed", 2.0f, 1.0f, 3.0f },
                                                  PlainValue { "Impact", 0.5f, 0.1f, 1.0f },
                                                  PlainValue { "Depth", 0.9f, 0.0f, 1.0f },
                                                  PlainValue { "Rate", 5.0f, 0.1f, 20.0f },
                                                  PlainValue { "Bite", 20.0f, 2.0f, 32.0f },
                                                  PlainValue { "Feedback", 0.5f, 0.0f, 0.6f },
                                                  PlainValue { "PhaserX", 0.8f, 0.0f, 1.0f },
                                                  PlainValue { "Presets", 6.0f, 1.0f, 13.0f } })
    {
        auto* parameter = findParameter (*plugin, name);
        ASSERT_NE (parameter, nullptr) << name;
        parameter->setValue (normalised (value, minimum, maximum));
    }

    runMessagesFor (300);   // the host hands parameter values to the plug-in's controller on a timer
    plugin->prepareToPlay (48000.0, 512);

    plugin->addListener (&host);

    std::unique_ptr<juce::AudioProcessorEditor> window (plugin->createEditorIfNeeded());
    ASSERT_NE (window, nullptr);
    window->addToDesktop (0);
    window->setVisible (true);

    ASSERT_NE (window->getPeer(), nullptr);

    const auto pluginWindow = user.waitForWindowInside (*window, 800, 477, 5000);
    ASSERT_NE (pluginWindow, 0u) << "the plug-in's 800 x 477 window never showed";
    runMessagesFor (300);

    // Opening the window on the stored preset doesn't apply it again over the turned knobs.
    EXPECT_EQ (host.changed.joinIntoString (" ").toStdString(), "");
    host.changed.clear();

    // "next" goes on to "Spaced Out": it sets all eight knobs, places all eight handles (none of
    // them at the 350 they stood at) and stores the preset, all in the click.
    constexpr int nextButtonX = 515, nextButtonY = 14;
    user.click (pluginWindow, nextButtonX, nextButtonY);
    runMessagesUntil ([&]
                      { return host.changed.size() >= 17; },
                      5000);
    runMessagesFor (200);   // nothing more should arrive

    plugin->removeListener (&host);

    EXPECT_EQ (host.changed.joinIntoString (" ").toStdString(),
               "Fx Speed Impact Depth Rate Bite Feedback PhaserX "
               "BabyRadod1 BabyRadod2 BabyRadod3 BabyRadod4 BabyRadod5 BabyRadod6 BabyRadod7 BabyRadod8 Presets");

    struct Expected
    {
        const char* name;
        float value;
    };

    for (auto [name, value] : { Expected { "Fx", normalised (4.0f, 1.0f, 5.0f) },
                                Expected { "Speed", normalised (1.0f, 1.0f, 3.0f) },
                                Expected { "Impact", normalised (0.7f, 0.1f, 1.0f) },
                                Expected { "Depth", normalised (0.4f, 0.0f, 1.0f) },
                                Expected { "Rate", normalised (9.5f, 0.1f, 20.0f) },
                                Expected { "Bite", normalised (32.0f, 2.0f, 32.0f) },
                                Expected { "Feedback", normalised (0.3f, 0.0f, 0.6f) },
                                Expected { "PhaserX", normalised (0.0f, 0.0f, 1.0f) } })
    {
        auto* parameter = findParameter (*plugin, name);
        ASSERT_NE (parameter, nullptr) << name;
        EXPECT_NEAR (parameter->getValue(), value, 1.0e-4f) << name;
    }

    window.reset();
    plugin->releaseResources();
}
