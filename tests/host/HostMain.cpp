#include <dlfcn.h>

#include <gtest/gtest.h>

#include <juce_events/juce_events.h>

#include "FailOnJuceAssertion.h"

// The hosted plug-ins are created, driven and destroyed on JUCE's message thread, which is this one.
int main (int argc, char** argv)
{
    // JUCE opens libX11 at run time and closes it at shutdown, stranding Xlib's never-freed
    // resource tables where LeakSanitizer reports them. A real host keeps libX11 loaded.
    dlopen ("libX11.so.6", RTLD_NOW | RTLD_NODELETE);

    ::testing::InitGoogleTest (&argc, argv);
    // The bundles' assertions reach only their own stderr; this host's JUCE writes there too.
    FailOnJuceAssertionInOutput assertions;
    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        result = RUN_ALL_TESTS();
    }
    return assertions.firedOutsideATest() ? 1 : result;
}
