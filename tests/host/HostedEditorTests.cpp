#include <gtest/gtest.h>

#include "PluginHost.h"

// Xlib comes last: its macros (None, Bool, Status...) would clash with the headers above.
#include <X11/Xlib.h>

namespace juce
{
    // JUCE's one-step pump of the message queue on Linux; the hosted plug-in's own events come in
    // through this loop too, since its VST3 client registers them with the host's run loop.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace
{
    /** Runs the host's message loop until the condition holds or the time is up. */
    template <typename Condition>
    bool runMessagesUntil (Condition&& condition, int timeoutMs)
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

        while (! condition())
        {
            if (juce::Time::getMillisecondCounter() >= end)
                return false;

            if (! juce::dispatchNextMessageOnSystemQueue (true))
                juce::Thread::sleep (1);
        }

        return true;
    }

    void runMessagesFor (int ms)
    {
        runMessagesUntil ([] { return false; }, ms);
    }

    /** A user at the X server: finds the plug-in's window and clicks into it.

        Xlib is loaded at run time, the way JUCE loads it, so the host links no X library.
    */
    class XUser
    {
    public:
        XUser()
        {
            if (! xlib.open ("libX11.so.6"))
                return;

            openDisplay     = (decltype (openDisplay))     xlib.getFunction ("XOpenDisplay");
            closeDisplay    = (decltype (closeDisplay))    xlib.getFunction ("XCloseDisplay");
            queryTree       = (decltype (queryTree))       xlib.getFunction ("XQueryTree");
            getAttributes   = (decltype (getAttributes))   xlib.getFunction ("XGetWindowAttributes");
            freeData        = (decltype (freeData))        xlib.getFunction ("XFree");
            sendEvent       = (decltype (sendEvent))       xlib.getFunction ("XSendEvent");
            warpPointer     = (decltype (warpPointer))     xlib.getFunction ("XWarpPointer");
            sync            = (decltype (sync))            xlib.getFunction ("XSync");
            defaultRoot     = (decltype (defaultRoot))     xlib.getFunction ("XDefaultRootWindow");
            setErrorHandler = (decltype (setErrorHandler)) xlib.getFunction ("XSetErrorHandler");

            if (openDisplay != nullptr && closeDisplay != nullptr && queryTree != nullptr && getAttributes != nullptr
                && freeData != nullptr && sendEvent != nullptr && warpPointer != nullptr && sync != nullptr
                && defaultRoot != nullptr && setErrorHandler != nullptr)
                display = openDisplay (nullptr);

            // Xlib's default handler ends the process on any error. JUCE installs its own only in
            // stand-alone apps and leaves it to the host otherwise, so this host does as hosts do.
            // A bare X server without a window manager lacks some atoms that windows ask about.
            if (display != nullptr)
                previousErrorHandler = setErrorHandler ([] (Display*, XErrorEvent*) { return 0; });
        }

        ~XUser()
        {
            if (display != nullptr)
            {
                closeDisplay (display);
                setErrorHandler (previousErrorHandler);
            }
        }

        bool hasDisplay() const     { return display != nullptr; }

        /** The deepest mapped window of this size under the given one: the plug-in's own,
            inside the host's frames. Other processes' windows on the same display are never seen. */
        Window findDeepestWindow (Window top, int width, int height)
        {
            Window found = 0;
            int foundDepth = -1;
            search (top, 0, width, height, found, foundDepth);
            return found;
        }

        /** Presses and releases the left button at (x, y) in the window's coordinates. */
        void click (Window window, int x, int y)
        {
            warpPointer (display, 0, window, 0, 0, 0, 0, x, y);

            for (auto type : { ButtonPress, ButtonRelease })
            {
                XEvent event {};
                auto& button = event.xbutton;
                button.type = type;
                button.display = display;
                button.window = window;
                button.root = defaultRoot (display);
                button.x = x;
                button.y = y;
                button.state = type == ButtonRelease ? Button1Mask : 0;
                button.button = Button1;
                button.same_screen = 1;
                sendEvent (display, window, 0, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
            }

            sync (display, 0);
        }

    private:
        void search (Window window, int depth, int width, int height, Window& found, int& foundDepth)
        {
            XWindowAttributes attributes {};

            if (getAttributes (display, window, &attributes) != 0
                && attributes.map_state == IsViewable
                && attributes.width == width && attributes.height == height
                && depth > foundDepth)
            {
                found = window;
                foundDepth = depth;
            }

            Window root = 0, parent = 0;
            Window* children = nullptr;
            unsigned int count = 0;

            if (queryTree (display, window, &root, &parent, &children, &count) == 0)
                return;

            for (unsigned int i = 0; i < count; ++i)
                search (children[i], depth + 1, width, height, found, foundDepth);

            if (children != nullptr)
                freeData (children);
        }

        juce::DynamicLibrary xlib;
        Display* display = nullptr;

        Display* (*openDisplay) (const char*) = nullptr;
        int (*closeDisplay) (Display*) = nullptr;
        int (*queryTree) (Display*, Window, Window*, Window*, Window**, unsigned int*) = nullptr;
        int (*getAttributes) (Display*, Window, XWindowAttributes*) = nullptr;
        int (*freeData) (void*) = nullptr;
        int (*sendEvent) (Display*, Window, int, long, XEvent*) = nullptr;
        int (*warpPointer) (Display*, Window, Window, int, int, unsigned int, unsigned int, int, int) = nullptr;
        int (*sync) (Display*, int) = nullptr;
        Window (*defaultRoot) (Display*) = nullptr;
        XErrorHandler (*setErrorHandler) (XErrorHandler) = nullptr;
        XErrorHandler previousErrorHandler = nullptr;
    };

    /** The parameter changes a host hears about, by name, in order. */
    struct HostRecorder  : juce::AudioProcessorListener
    {
        void audioProcessorParameterChanged (juce::AudioProcessor* p, int index, float) override
        {
            changed.add (p->getParameters()[index]->getName (100));
        }

        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

        juce::StringArray changed;
    };

    float normalised (float plain, float minimum, float maximum)    { return (plain - minimum) / (maximum - minimum); }

    juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& name)
    {
        for (auto* parameter : instance.getParameters())
            if (parameter->getName (100) == name)
                return parameter;

        return nullptr;
    }
}

TEST (HostedEditor, OpeningAppliesNothingAndTheNextPresetReachesTheHostAsEightParameterChanges)
{
    XUser user;

    if (! user.hasDisplay())
        GTEST_SKIP() << "needs an X display (the test script runs ctest under xvfb-run)";

    HostRecorder host;   // outlives the plug-in it listens to
    juce::String error;
    auto plugin = PluginHost::loadBuiltZurizaz ("VST3", error);
    ASSERT_NE (plugin, nullptr) << error;

    struct PlainValue { const char* name; float value, minimum, maximum; };

    // A session saved on "Baby Hate Machine" (id 5, stored as 6, which preparation takes up) with
    // every knob turned since, to values that neither that preset nor the next one has.
    for (auto [name, value, minimum, maximum] : { PlainValue { "Fx",       3.0f,  1.0f, 5.0f },
                                                  PlainValue { "Speed",    2.0f,  1.0f, 3.0f },
                                                  PlainValue { "Impact",   0.5f,  0.1f, 1.0f },
                                                  PlainValue { "Depth",    0.9f,  0.0f, 1.0f },
                                                  PlainValue { "Rate",     5.0f,  0.1f, 20.0f },
                                                  PlainValue { "Bite",     20.0f, 2.0f, 32.0f },
                                                  PlainValue { "Feedback", 0.5f,  0.0f, 0.6f },
                                                  PlainValue { "PhaserX",  0.8f,  0.0f, 1.0f },
                                                  PlainValue { "Presets",  6.0f,  1.0f, 13.0f } })
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
    const auto hostWindow = (Window) (juce::pointer_sized_uint) window->getPeer()->getNativeHandle();

    Window pluginWindow = 0;
    ASSERT_TRUE (runMessagesUntil ([&] { return (pluginWindow = user.findDeepestWindow (hostWindow, 800, 477)) != 0; }, 5000))
        << "the plug-in's 800 x 477 window never showed";
    runMessagesFor (300);

    // Opening the window on the stored preset doesn't apply it again over the turned knobs.
    EXPECT_EQ (host.changed.joinIntoString (" ").toStdString(), "");
    host.changed.clear();

    // "next" goes on to "Spaced Out" and sets all eight knobs.
    constexpr int nextButtonX = 515, nextButtonY = 14;
    user.click (pluginWindow, nextButtonX, nextButtonY);
    runMessagesUntil ([&] { return host.changed.size() >= 8; }, 5000);
    runMessagesFor (200);   // nothing more should arrive

    plugin->removeListener (&host);

    EXPECT_EQ (host.changed.joinIntoString (" ").toStdString(), "Fx Speed Impact Depth Rate Bite Feedback PhaserX");

    struct Expected { const char* name; float value; };

    for (auto [name, value] : { Expected { "Fx",       normalised (4.0f,  1.0f, 5.0f) },
                                Expected { "Speed",    normalised (1.0f,  1.0f, 3.0f) },
                                Expected { "Impact",   normalised (0.7f,  0.1f, 1.0f) },
                                Expected { "Depth",    normalised (0.4f,  0.0f, 1.0f) },
                                Expected { "Rate",     normalised (9.5f,  0.1f, 20.0f) },
                                Expected { "Bite",     normalised (32.0f, 2.0f, 32.0f) },
                                Expected { "Feedback", normalised (0.3f,  0.0f, 0.6f) },
                                Expected { "PhaserX",  normalised (0.0f,  0.0f, 1.0f) } })
    {
        auto* parameter = findParameter (*plugin, name);
        ASSERT_NE (parameter, nullptr) << name;
        EXPECT_NEAR (parameter->getValue(), value, 1.0e-4f) << name;
    }

    window.reset();
    plugin->releaseResources();
}
