#include <gtest/gtest.h>

#include "HalfSizePicture.h"
#include "MessageLoop.h"
#include "PlayHeads.h"
#include "PluginHost.h"
#include "XDisplay.h"

namespace
{
    void processOneBlock (juce::AudioPluginInstance& plugin)
    {
        juce::AudioBuffer<float> buffer (2, 512);
        buffer.clear();
        juce::MidiBuffer midi;
        plugin.processBlock (buffer, midi);
    }
}

TEST (HostedEditorScreen, TheVst3WindowShowsTheBackgroundAtHalfSizeAndTheTempoFollowsOnScreen)
{
    XDisplay screen;

    if (! screen.isOpen())
        GTEST_SKIP() << "needs an X display (the test script runs ctest under xvfb-run)";

    // Read whole: decoding this PNG through the file overload's buffered stream fails here.
    juce::MemoryBlock png;
    juce::File (ZURIZAZ_RESOURCES_DIR).getChildFile ("backgroundPicture.png").loadFileAsData (png);
    const auto picture = juce::ImageFileFormat::loadFrom (png.getData(), png.getSize());
    ASSERT_TRUE (picture.isValid());

    juce::String error;
    auto plugin = PluginHost::loadBuiltZurizaz ("VST3", error);
    ASSERT_NE (plugin, nullptr) << error;

    FakeTransport transport;
    plugin->setPlayHead (&transport);
    plugin->prepareToPlay (48000.0, 512);
    processOneBlock (*plugin);

    std::unique_ptr<juce::AudioProcessorEditor> window (plugin->createEditorIfNeeded());
    ASSERT_NE (window, nullptr);
    window->addToDesktop (0);
    window->setVisible (true);
    ASSERT_NE (window->getPeer(), nullptr);

    const auto pluginWindow = screen.waitForWindowInside (*window, 800, 477, 5000);
    ASSERT_NE (pluginWindow, 0u) << "the plug-in's 800 x 477 window never showed";
    runMessagesFor (500);

    const auto before = screen.grab (pluginWindow);
    ASSERT_EQ (before.getWidth(), 800);
    ASSERT_EQ (before.getHeight(), 477);

    // Below the top bar and above the step handles only the background shows (the panel is closed
    // and the last-step indicator may light up, so its box is left out).
    const juce::Rectangle<int> indicator { 334, 196, 132, 40 };
    int mismatches = 0;

    for (int y = 40; y < 340; y += 7)
        for (int x = 0; x < 800; x += 5)
            if (! indicator.contains (x, y) && ! showsPictureAtHalfSize (before, picture, x, y))
                ++mismatches;

    EXPECT_EQ (mismatches, 0);

    // A new tempo from the host changes the tempo text on screen, and nothing else in the top bar.
    transport.setTempo (97.0);
    processOneBlock (*plugin);

    const juce::Rectangle<int> tempoText { 92, 0, 70, 30 };
    int changedInside = 0, changedElsewhere = 0;

    for (int waited = 0; waited < 3000 && changedInside == 0; waited += 100)
    {
        runMessagesFor (100);
        const auto after = screen.grab (pluginWindow);
        ASSERT_EQ (after.getWidth(), 800);
        changedInside = changedElsewhere = 0;

        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 800; ++x)
                if (before.getPixelAt (x, y) != after.getPixelAt (x, y))
                    ++(tempoText.contains (x, y) ? changedInside : changedElsewhere);
    }

    EXPECT_GT (changedInside, 20);
    EXPECT_EQ (changedElsewhere, 0);

    window.reset();
    plugin->releaseResources();
    plugin->setPlayHead (nullptr);
}
