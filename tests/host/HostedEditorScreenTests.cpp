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

namespace
{
    /** Whether the window shows the unlit handle picture in a handle's box at (boxX, boxY). The
        68 x 125 picture is drawn unscaled and centred, so in a 120-high box it starts 2 rows above
        the box and is cut at its edges. Only the picture's opaque pixels are compared, to within
        the rounding of the screen's colour depth. */
    ::testing::AssertionResult showsHandleAt (const juce::Image& window, const juce::Image& handle, int boxX, int boxY, int boxHeight)
    {
        const auto top = boxY + (boxHeight - handle.getHeight()) / 2;
        int compared = 0, differing = 0;

        for (int y = 0; y < handle.getHeight(); ++y)
        {
            for (int x = 0; x < handle.getWidth(); ++x)
            {
                const auto want = handle.getPixelAt (x, y);
                const auto wx = boxX + x, wy = top + y;

                if (want.getAlpha() < 255 || y < boxY - top || wy >= boxY + boxHeight || wy >= window.getHeight())
                    continue;

                const auto got = window.getPixelAt (wx, wy);
                ++compared;
                differing += (std::abs (got.getRed() - want.getRed()) > 8 || std::abs (got.getGreen() - want.getGreen()) > 8
                              || std::abs (got.getBlue() - want.getBlue()) > 8)
                                 ? 1
                                 : 0;
            }
        }

        if (compared > 1000 && differing == 0)
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << differing << " of " << compared << " opaque pixels differ at y " << boxY;
    }

    juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& name)
    {
        for (auto* parameter : instance.getParameters())
            if (parameter->getName (100) == name)
                return parameter;

        return nullptr;
    }

    juce::Image resourcePicture (const char* fileName)
    {
        juce::MemoryBlock png;
        juce::File (ZURIZAZ_RESOURCES_DIR).getChildFile (fileName).loadFileAsData (png);
        return juce::ImageFileFormat::loadFrom (png.getData(), png.getSize());
    }
}

TEST (HostedEditorScreen, TheVst3WindowShowsEveryHandleInItsColumnAtTheLowestAndHighestStoredHeights)
{
    XDisplay screen;

    if (! screen.isOpen())
        GTEST_SKIP() << "needs an X display (the test script runs ctest under xvfb-run)";

    const auto handle = resourcePicture ("radodImage.png");
    ASSERT_TRUE (handle.isValid());

    // The handles' parameters span heights of 4 to 400, and a host may set either end before it
    // prepares the plug-in: 400 (the parameters' default) lies below the window's bottom edge, 4
    // over the top bar. Either way the handles show within their columns, at the bottom (350) and
    // at the top (82).
    for (auto [normalised, shownAt] : { std::pair { 1.0f, 350 }, { 0.0f, 82 } })
    {
        SCOPED_TRACE (shownAt);
        juce::String error;
        auto plugin = PluginHost::loadBuiltZurizaz ("VST3", error);
        ASSERT_NE (plugin, nullptr) << error;

        for (int k = 1; k <= 8; ++k)
        {
            auto* parameter = findParameter (*plugin, "BabyRadod" + juce::String (k));
            ASSERT_NE (parameter, nullptr) << k;
            parameter->setValue (normalised);
        }

        runMessagesFor (300);   // the VST3 host hands parameter values on from a timer

        plugin->prepareToPlay (48000.0, 512);

        std::unique_ptr<juce::AudioProcessorEditor> window (plugin->createEditorIfNeeded());
        ASSERT_NE (window, nullptr);
        window->addToDesktop (0);
        window->setVisible (true);
        ASSERT_NE (window->getPeer(), nullptr);

        const auto pluginWindow = screen.waitForWindowInside (*window, 800, 477, 5000);
        ASSERT_NE (pluginWindow, 0u) << "the plug-in's 800 x 477 window never showed";

        constexpr int layoutX[] = { 12, 79, 149, 220, 513, 582, 652, 720 };
        juce::Image shot;

        // The window may take a few frames to be drawn.
        const auto showsAllHandles = [&, shownAt = shownAt]
        {
            shot = screen.grab (pluginWindow);

            for (int k = 0; k < 8; ++k)
                if (! showsHandleAt (shot, handle, layoutX[k], shownAt, k == 0 ? 125 : 120))
                    return false;

            return true;
        };

        runMessagesUntil (showsAllHandles, 3000);
        ASSERT_EQ (shot.getWidth(), 800);

        for (int k = 0; k < 8; ++k)
            EXPECT_TRUE (showsHandleAt (shot, handle, layoutX[k], shownAt, k == 0 ? 125 : 120)) << "handle " << k + 1;

        window->setVisible (false);
        runMessagesFor (100);
        window.reset();
        plugin->releaseResources();
    }
}
