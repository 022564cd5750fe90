#pragma once

#include <memory>

#include <juce_gui_basics/juce_gui_basics.h>

/** A user at the X server the host's windows are on: finds the plug-in's window inside a host
    window, reads its pixels and clicks into it.

    Xlib is loaded at run time, the way JUCE loads it, so the host links no X library, and its
    headers stay out of the tests (their macros clash with JUCE's).
*/
class XDisplay
{
public:
    /** An X window id. */
    using WindowId = unsigned long;

    /** Opens the display named by $DISPLAY and ignores X errors until closed. */
    XDisplay();
    ~XDisplay();

    bool isOpen() const noexcept;

    /** Runs the message loop until a mapped window of this size shows inside the component's
        native window, and returns the deepest one: the plug-in's own, inside the host's frames.
        Other processes' windows on the same display are never seen. 0 if none shows in time.
    */
    WindowId waitForWindowInside (const juce::Component& hostWindow, int width, int height, int timeoutMs);

    /** Runs the message loop until no mapped window of this size shows inside the component's
        native window (it was hidden, or closed). False if one still shows when the time is up.
    */
    bool waitUntilNoWindowInside (const juce::Component& hostWindow, int width, int height, int timeoutMs);

    /** The window's pixels as the server holds them, opaque RGB; invalid if they can't be read. */
    juce::Image grab (WindowId window) const;

    /** Presses and releases the left button at (x, y) in the window's coordinates. */
    void click (WindowId window, int x, int y);

    /** Presses the left button at (x, fromY), moves to (x, toY) in steps and releases it there. */
    void drag (WindowId window, int x, int fromY, int toY);

private:
    struct Xlib;
    std::unique_ptr<Xlib> xlib;

    /** Sends a press or release (ButtonPress, ButtonRelease) of the first button at x, y. */
    void sendButton (WindowId window, int type, int x, int y);

    JUCE_DECLARE_NON_COPYABLE (XDisplay)
};
