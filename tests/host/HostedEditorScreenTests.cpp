#include <gtest/gtest.h>

#include <juce_gui_extra/juce_gui_extra.h>

#include "PluginHost.h"

// Xlib comes last: its macros (None, Bool, Status...) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace juce
{
    // JUCE's one-step pump of the message queue on Linux; the plug-in's window events come in here.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace
{
    void runMessagesFor (int ms)
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) ms;

        while (juce::Time::getMillisecondCounter() < end)
            if (! juce::dispatchNextMessageOnSystemQueue (true))
                juce::Thread::sleep (1);
    }

    /** Reads what the X server shows: finds the plug-in's window and copies its pixels.

        Xlib is loaded at run time, the way JUCE loads it, so the host links no X library.
    */
    class XScreen
    {
    public:
        XScreen()
        {
            if (! xlib.open ("libX11.so.6"))
                return;

            openDisplay     = (decltype (openDisplay))     xlib.getFunction ("XOpenDisplay");
            closeDisplay    = (decltype (closeDisplay))    xlib.getFunction ("XCloseDisplay");
            queryTree       = (decltype (queryTree))       xlib.getFunction ("XQueryTree");
            getAttributes   = (decltype (getAttributes))   xlib.getFunction ("XGetWindowAttributes");
            freeData        = (decltype (freeData))        xlib.getFunction ("XFree");
            getImage        = (decltype (getImage))        xlib.getFunction ("XGetImage");
            setErrorHandler = (decltype (setErrorHandler)) xlib.getFunction ("XSetErrorHandler");

            if (openDisplay != nullptr && closeDisplay != nullptr && queryTree != nullptr && getAttributes != nullptr
                && freeData != nullptr && getImage != nullptr && setErrorHandler != nullptr)
                display = openDisplay (nullptr);

            // Xlib's default handler ends the process on any error, and JUCE leaves the handler to
            // the host in a plug-in. A bare X server without a window manager lacks some atoms
            // that windows ask about, so this host ignores errors, as hosts do.
            if (display != nullptr)
                previousErrorHandler = setErrorHandler ([] (Display*, XErrorEvent*) { return 0; });
        }

        ~XScreen()
        {
            if (display != nullptr)
            {
                closeDisplay (display);
                setErrorHandler (previousErrorHandler);
            }
        }

        bool hasDisplay() const     { return display != nullptr; }

        /** The deepest mapped window of this size under the given one: the plug-in's own. */
        Window findDeepestWindow (Window top, int width, int height)
        {
            Window found = 0;
            int foundDepth = -1;
            search (top, 0, width, height, found, foundDepth);
            return found;
        }

        /** The window's pixels as the server holds them, opaque RGB. */
        juce::Image grab (Window window)
        {
            XWindowAttributes attributes {};

            if (getAttributes (display, window, &attributes) == 0)
                return {};

            auto* xImage = getImage (display, window, 0, 0, (unsigned int) attributes.width,
                                     (unsigned int) attributes.height, AllPlanes, ZPixmap);

            if (xImage == nullptr)
                return {};

            juce::Image image (juce::Image::RGB, attributes.width, attributes.height, false);

            for (int y = 0; y < attributes.height; ++y)
            {
                for (int x = 0; x < attributes.width; ++x)
                {
                    const auto pixel = xImage->f.get_pixel (xImage, x, y);
                    image.setPixelAt (x, y, juce::Colour ((juce::uint8) ((pixel & xImage->red_mask) >> 16),
                                                          (juce::uint8) ((pixel & xImage->green_mask) >> 8),
                                                          (juce::uint8) (pixel & xImage->blue_mask)));
                }
            }

            xImage->f.destroy_image (xImage);
            return image;
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
        XImage* (*getImage) (Display*, Drawable, int, int, unsigned int, unsigned int, unsigned long, int) = nullptr;
        XErrorHandler (*setErrorHandler) (XErrorHandler) = nullptr;
        XErrorHandler previousErrorHandler = nullptr;
    };

    /** A transport that is only a tempo. */
    struct TempoPlayHead  : juce::AudioPlayHead
    {
        juce::Optional<PositionInfo> getPosition() const override
        {
            PositionInfo info;
            info.setBpm (bpm);
            return info;
        }

        double bpm = 120.0;
    };

    void processOneBlock (juce::AudioPluginInstance& plugin)
    {
        juce::AudioBuffer<float> buffer (2, 512);
        buffer.clear();
        juce::MidiBuffer midi;
        plugin.processBlock (buffer, midi);
    }

    /** Whether the window pixel lies within the colours of the full-size picture around twice its
        coordinates: the picture drawn at half size, whatever it shows. */
    bool isHalfSizeBackground (const juce::Image& window, const juce::Image& picture, int x, int y)
    {
        constexpr int tolerance = 6;
        const auto got = window.getPixelAt (x, y);
        int lo[3] = { 255, 255, 255 }, hi[3] = { 0, 0, 0 };

        for (int sy = juce::jmax (0, 2 * y - 1); sy <= juce::jmin (picture.getHeight() - 1, 2 * y + 2); ++sy)
        {
            for (int sx = juce::jmax (0, 2 * x - 1); sx <= juce::jmin (picture.getWidth() - 1, 2 * x + 2); ++sx)
            {
                const auto c = picture.getPixelAt (sx, sy);
                const int channels[3] = { c.getRed(), c.getGreen(), c.getBlue() };

                for (int k = 0; k < 3; ++k)
                {
                    lo[k] = juce::jmin (lo[k], channels[k]);
                    hi[k] = juce::jmax (hi[k], channels[k]);
                }
            }
        }

        const int gotChannels[3] = { got.getRed(), got.getGreen(), got.getBlue() };

        for (int k = 0; k < 3; ++k)
            if (gotChannels[k] < lo[k] - tolerance || gotChannels[k] > hi[k] + tolerance)
                return false;

        return true;
    }
}

TEST (HostedEditorScreen, TheVst3WindowShowsTheBackgroundAtHalfSizeAndTheTempoFollowsOnScreen)
{
    XScreen screen;

    if (! screen.hasDisplay())
        GTEST_SKIP() << "needs an X display (the test script runs ctest under xvfb-run)";

    // Read whole: decoding this PNG through the file overload's buffered stream fails here.
    juce::MemoryBlock png;
    juce::File (ZURIZAZ_RESOURCES_DIR).getChildFile ("backgroundPicture.png").loadFileAsData (png);
    const auto picture = juce::ImageFileFormat::loadFrom (png.getData(), png.getSize());
    ASSERT_TRUE (picture.isValid());

    juce::String error;
    auto plugin = PluginHost::loadBuiltZurizaz ("VST3", error);
    ASSERT_NE (plugin, nullptr) << error;

    TempoPlayHead transport;
    plugin->setPlayHead (&transport);
    plugin->prepareToPlay (48000.0, 512);
    processOneBlock (*plugin);

    std::unique_ptr<juce::AudioProcessorEditor> window (plugin->createEditorIfNeeded());
    ASSERT_NE (window, nullptr);
    window->addToDesktop (0);
    window->setVisible (true);
    ASSERT_NE (window->getPeer(), nullptr);

    const auto hostWindow = (Window) (juce::pointer_sized_uint) window->getPeer()->getNativeHandle();
    Window pluginWindow = 0;

    for (int tries = 0; tries < 100 && pluginWindow == 0; ++tries)
    {
        runMessagesFor (50);
        pluginWindow = screen.findDeepestWindow (hostWindow, 800, 477);
    }

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
            if (! indicator.contains (x, y) && ! isHalfSizeBackground (before, picture, x, y))
                ++mismatches;

    EXPECT_EQ (mismatches, 0);

    // A new tempo from the host changes the tempo text on screen, and nothing else in the top bar.
    transport.bpm = 97.0;
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
