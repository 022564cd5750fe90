#include <gtest/gtest.h>

#include <dlfcn.h>

#include "MessageLoop.h"
#include "editor/PluginEditor.h"

namespace
{
    /** The editor, counting its paints and noting which of them reached the tempo text. */
    struct WatchedEditor : public ZurizazAudioProcessorEditor
    {
        using ZurizazAudioProcessorEditor::ZurizazAudioProcessorEditor;

        void paint (juce::Graphics& g) override
        {
            ++paints;
            ++paintsSinceTheTempo;

            if (g.getClipBounds() == getLocalBounds())
                ++wholeWindowPaints;

            if (g.clipRegionIntersects ({ 92, 0, 70, 30 }))
            {
                ++paintsReachingTempo;
                tempoPaintBounds << g.getClipBounds().toString() << "; ";
                paintsSinceTheTempo = 0;
            }

            ZurizazAudioProcessorEditor::paint (g);
        }

        int paints = 0, paintsReachingTempo = 0, paintsSinceTheTempo = 0, wholeWindowPaints = 0;
        juce::String tempoPaintBounds;   // the clip bounds of each paint that reached the tempo text
    };

    /** Xvfb runs no window manager, so JUCE's look-ups of window-manager atoms (WM_STATE) fail
        with BadAtom. A plug-in leaves X errors to its host, and Xlib's default handler would end
        the test; this host logs nothing and carries on, as a window manager's presence would. */
    void ignoreXErrors()
    {
        using Handler = int (*) (void*, void*);

        if (auto* x11 = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD))
            if (auto* setHandler = reinterpret_cast<Handler (*) (Handler)> (dlsym (x11, "XSetErrorHandler")))
                setHandler ([] (void*, void*)
                            { return 0; });
    }
}

// Needs a display (the test script provides Xvfb): the refresh cycle only runs on a real window.
TEST (EditorWindow, OnScreenTheEditorRepaintsEveryFrameWithoutATimerAndTheTempoFollows)
{
    if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
        GTEST_SKIP() << "no display";

    ZurizazAudioProcessor processor;
    processor.bpmText.publish (120);

    {
        // A window of its own on the desktop, as a host's plain embedding window would hold it.
        WatchedEditor editor (processor);
        juce::Desktop::getInstance();   // loads Xlib
        ignoreXErrors();
        editor.setTopLeftPosition (40, 40);
        editor.addToDesktop (juce::ComponentPeer::windowAppearsOnTaskbar);
        editor.setVisible (true);

        // The deadlines are generous: a loaded machine takes longer, never fails.
        // Shown, and past its first full paints: the last few frames left the tempo text alone.
        ASSERT_TRUE (runMessagesUntil ([&]
                                       { return editor.getPeer() != nullptr && editor.paintsSinceTheTempo >= 3; },
                                       10000))
            << "the window never settled: " << editor.paints << " paints";
        EXPECT_EQ (editor.getPeer()->getBounds().getWidth(), 800);
        EXPECT_EQ (editor.getPeer()->getBounds().getHeight(), 477);

        // Steady state: frame after frame, and the tempo text left alone while it stands still.
        editor.paints = editor.paintsReachingTempo = editor.wholeWindowPaints = 0;
        editor.tempoPaintBounds.clear();
        const auto start = juce::Time::getMillisecondCounter();
        EXPECT_TRUE (runMessagesUntil ([&]
                                       { return editor.paints >= 20; },
                                       10000))
            << "only " << editor.paints << " paints in 10 s";
        std::cout << "paints per second on this display: "
                  << 1000.0 * editor.paints / juce::jmax (1u, juce::Time::getMillisecondCounter() - start) << std::endl;
        // The X server exposes a newly mapped window whole, and on a loaded machine that may come
        // after JUCE's own first paints: one whole-window paint is the window system's, not ours.
        EXPECT_LE (editor.wholeWindowPaints, 1) << editor.tempoPaintBounds;
        EXPECT_EQ (editor.paintsReachingTempo - editor.wholeWindowPaints, 0) << editor.tempoPaintBounds;

        // A new tempo reaches the screen within a few frames.
        processor.bpmText.publish (121);
        const auto paintsBeforeTheTempo = editor.paints;
        EXPECT_TRUE (runMessagesUntil ([&]
                                       { return editor.paintsReachingTempo > 0; },
                                       10000));
        EXPECT_LE (editor.paints - paintsBeforeTheTempo, 5);

        editor.removeFromDesktop();
    }

    runMessagesFor (50);
}

// Needs a display: the press goes through the window's own mouse handling, which finds the
// component under the pointer.
TEST (EditorWindow, ADragStartedOnAnEmptyReadoutMovesTheHandleOfThatColumn)
{
    if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
        GTEST_SKIP() << "no display";

    ZurizazAudioProcessor processor;

    {
        ZurizazAudioProcessorEditor editor (processor);
        juce::Desktop::getInstance();   // loads Xlib
        ignoreXErrors();
        editor.setTopLeftPosition (40, 40);
        editor.addToDesktop (juce::ComponentPeer::windowAppearsOnTaskbar);
        editor.setVisible (true);
        ASSERT_TRUE (runMessagesUntil ([&]
                                       { return editor.getPeer() != nullptr && editor.isShowing(); },
                                       10000));
        runPendingMessages();

        auto* peer = editor.getPeer();
        ASSERT_NE (peer, nullptr);

        auto time = juce::Time::currentTimeMillis();
        const auto send = [&] (int x, int y, juce::ModifierKeys buttons)
        {
            peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, { (float) x, (float) y }, buttons,
                                    juce::MouseInputSource::defaultPressure, 0.0f, time += 20);
        };

        struct Case
        {
            const char* readout;
            int x, y;
            size_t handle;
            int placedX, dragToY;
            float level;
        };

        // A point in each readout's box, all inside handle columns. The first row's drags stay high
        // enough that no handle comes to lie over the second row's points.
        const Case cases[] = { { "IMPACT", 102, 224, 1, 79, 100, 0.2f },
                               { "FX", 192, 224, 2, 150, 130, 0.3f },
                               { "SPEED", 607, 224, 5, 584, 160, 0.5f },
                               { "BITE", 697, 224, 6, 652, 190, 0.6f },
                               { "DEPTH", 102, 317, 1, 79, 240, 0.7f },
                               { "RATE", 192, 317, 2, 150, 270, 0.8f },
                               { "FEEDBACK", 607, 317, 5, 584, 300, 0.9f },
                               { "PHASE", 697, 317, 6, 652, 330, 1.0f } };

        for (auto& c : cases)
        {
            SCOPED_TRACE (c.readout);

            // The panel is closed: the readout shows, empty, over the handle's column.
            auto* under = editor.getComponentAt (c.x, c.y);
            ASSERT_NE (under, nullptr);
            EXPECT_EQ (under, &editor);

            send (c.x, c.y, juce::ModifierKeys::leftButtonModifier);
            send (c.x, (c.y + c.dragToY) / 2, juce::ModifierKeys::leftButtonModifier);
            send (c.x, c.dragToY, juce::ModifierKeys::leftButtonModifier);
            send (c.x, c.dragToY, {});

            EXPECT_EQ (editor.babyRadodButtons[c.handle].getBounds(), juce::Rectangle<int> (c.placedX, c.dragToY, 68, 120));
            EXPECT_EQ (processor.stepGain[c.handle].load(), c.level);
        }

        int visibleReadouts = 0;
        for (auto* label : { &editor.fxLabel, &editor.speedLabel, &editor.impactLabel, &editor.depthLabel,
                             &editor.rateLabel, &editor.feedbackLabel, &editor.phaseLabel, &editor.biteLabel })
            visibleReadouts += label->isVisible() && label->getText().isEmpty() ? 1 : 0;
        EXPECT_EQ (visibleReadouts, 8);

        editor.removeFromDesktop();
    }

    runPendingMessages();
}
