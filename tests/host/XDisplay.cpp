#include "XDisplay.h"

#include "MessageLoop.h"

// Xlib comes last: its macros (None, Bool, Status...) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

static_assert (std::is_same_v<XDisplay::WindowId, Window>);

/** The display and the Xlib functions used on it. */
struct XDisplay::Xlib
{
    Xlib()
    {
        if (! library.open ("libX11.so.6"))
            return;

        openDisplay = (decltype (openDisplay)) library.getFunction ("XOpenDisplay");
        closeDisplay = (decltype (closeDisplay)) library.getFunction ("XCloseDisplay");
        queryTree = (decltype (queryTree)) library.getFunction ("XQueryTree");
        getAttributes = (decltype (getAttributes)) library.getFunction ("XGetWindowAttributes");
        freeData = (decltype (freeData)) library.getFunction ("XFree");
        getImage = (decltype (getImage)) library.getFunction ("XGetImage");
        sendEvent = (decltype (sendEvent)) library.getFunction ("XSendEvent");
        warpPointer = (decltype (warpPointer)) library.getFunction ("XWarpPointer");
        sync = (decltype (sync)) library.getFunction ("XSync");
        defaultRoot = (decltype (defaultRoot)) library.getFunction ("XDefaultRootWindow");
        setErrorHandler = (decltype (setErrorHandler)) library.getFunction ("XSetErrorHandler");

        if (openDisplay != nullptr && closeDisplay != nullptr && queryTree != nullptr && getAttributes != nullptr
            && freeData != nullptr && getImage != nullptr && sendEvent != nullptr && warpPointer != nullptr
            && sync != nullptr && defaultRoot != nullptr && setErrorHandler != nullptr)
            display = openDisplay (nullptr);

        // Xlib's default handler ends the process on any error. JUCE installs its own only in
        // stand-alone apps and leaves it to the host otherwise, so this host does as hosts do.
        // A bare X server without a window manager lacks some atoms that windows ask about.
        if (display != nullptr)
            previousErrorHandler = setErrorHandler ([] (Display*, XErrorEvent*)
                                                    { return 0; });
    }

    ~Xlib()
    {
        if (display != nullptr)
        {
            closeDisplay (display);
            setErrorHandler (previousErrorHandler);
        }
    }

    void search (Window window, int depth, int width, int height, Window& found, int& foundDepth) const
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

    juce::DynamicLibrary library;
    Display* display = nullptr;

    Display* (*openDisplay) (const char*) = nullptr;
    int (*closeDisplay) (Display*) = nullptr;
    int (*queryTree) (Display*, Window, Window*, Window*, Window**, unsigned int*) = nullptr;
    int (*getAttributes) (Display*, Window, XWindowAttributes*) = nullptr;
    int (*freeData) (void*) = nullptr;
    XImage* (*getImage) (Display*, Drawable, int, int, unsigned int, unsigned int, unsigned long, int) = nullptr;
    int (*sendEvent) (Display*, Window, int, long, XEvent*) = nullptr;
    int (*warpPointer) (Display*, Window, Window, int, int, unsigned int, unsigned int, int, int) = nullptr;
    int (*sync) (Display*, int) = nullptr;
    Window (*defaultRoot) (Display*) = nullptr;
    XErrorHandler (*setErrorHandler) (XErrorHandler) = nullptr;
    XErrorHandler previousErrorHandler = nullptr;
};

//==============================================================================
XDisplay::XDisplay() : xlib (std::make_unique<Xlib>()) {}
XDisplay::~XDisplay() = default;

bool XDisplay::isOpen() const noexcept
{
    return xlib->display != nullptr;
}

XDisplay::WindowId XDisplay::waitForWindowInside (const juce::Component& hostWindow, int width, int height, int timeoutMs)
{
    auto* peer = hostWindow.getPeer();

    if (peer == nullptr)
        return 0;

    const auto top = (Window) (juce::pointer_sized_uint) peer->getNativeHandle();
    Window found = 0;

    runMessagesUntil ([&]
                      {
                          int foundDepth = -1;
                          xlib->search (top, 0, width, height, found, foundDepth);
                          return found != 0; },
                      timeoutMs);

    return found;
}

bool XDisplay::waitUntilNoWindowInside (const juce::Component& hostWindow, int width, int height, int timeoutMs)
{
    auto* peer = hostWindow.getPeer();

    if (peer == nullptr)
        return true;

    const auto top = (Window) (juce::pointer_sized_uint) peer->getNativeHandle();

    return runMessagesUntil ([&]
                             {
                                 Window found = 0;
                                 int foundDepth = -1;
                                 xlib->search (top, 0, width, height, found, foundDepth);
                                 return found == 0; },
                             timeoutMs);
}

juce::Image XDisplay::grab (WindowId window) const
{
    XWindowAttributes attributes {};

    if (xlib->getAttributes (xlib->display, window, &attributes) == 0)
        return {};

    auto* xImage = xlib->getImage (xlib->display, window, 0, 0, (unsigned int) attributes.width,
                                   (unsigned int) attributes.height, AllPlanes, ZPixmap);

    if (xImage == nullptr)
        return {};

    juce::Image image (juce::Image::RGB, attributes.width, attributes.height, false);

    for (int y = 0; y < attributes.height; ++y)
    {
        for (int x = 0; x < attributes.width; ++x)
        {
            const auto pixel = xImage->f.get_pixel (xImage, x, y);
            image.setPixelAt (x, y, juce::Colour ((juce::uint8) ((pixel & xImage->red_mask) >> 16), (juce::uint8) ((pixel & xImage->green_mask) >> 8), (juce::uint8) (pixel & xImage->blue_mask)));
        }
    }

    xImage->f.destroy_image (xImage);
    return image;
}

void XDisplay::sendButton (WindowId window, int type, int x, int y)
{
    auto* display = xlib->display;

    XEvent event {};
    auto& button = event.xbutton;
    button.type = type;
    button.display = display;
    button.window = window;
    button.root = xlib->defaultRoot (display);
    button.x = x;
    button.y = y;
    button.state = type == ButtonRelease ? Button1Mask : 0;
    button.button = Button1;
    button.same_screen = 1;
    xlib->sendEvent (display, window, 0, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
}

void XDisplay::click (WindowId window, int x, int y)
{
    auto* display = xlib->display;
    xlib->warpPointer (display, 0, window, 0, 0, 0, 0, x, y);

    for (auto type : { ButtonPress, ButtonRelease })
        sendButton (window, type, x, y);

    xlib->sync (display, 0);
}

void XDisplay::drag (WindowId window, int x, int fromY, int toY)
{
    auto* display = xlib->display;
    xlib->warpPointer (display, 0, window, 0, 0, 0, 0, x, fromY);

    sendButton (window, ButtonPress, x, fromY);

    const auto step = toY > fromY ? 4 : -4;

    for (int y = fromY;; y += step)
    {
        if ((step > 0 && y > toY) || (step < 0 && y < toY))
            y = toY;

        XEvent event {};
        auto& motion = event.xmotion;
        motion.type = MotionNotify;
        motion.display = display;
        motion.window = window;
        motion.root = xlib->defaultRoot (display);
        motion.x = x;
        motion.y = y;
        motion.state = Button1Mask;
        motion.same_screen = 1;
        xlib->sendEvent (display, window, 0, Button1MotionMask | PointerMotionMask, &event);

        if (y == toY)
            break;
    }

    sendButton (window, ButtonRelease, x, toY);
    xlib->sync (display, 0);
}
