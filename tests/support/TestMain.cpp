#include <dlfcn.h>

#include <gtest/gtest.h>

#include <juce_events/juce_events.h>

#include "FailOnJuceAssertion.h"

// JUCE needs its message manager and GUI singletons for components, fonts and attachments.
int main (int argc, char** argv)
{
    // JUCE opens libX11 at run time and closes it at shutdown. Xlib keeps its resource-manager
    // tables for as long as it is loaded and never frees them; once it is unloaded LeakSanitizer
    // no longer sees them referenced and reports them as leaks. A host keeps libX11 loaded for
    // the life of the process, so the tests do too.
    dlopen ("libX11.so.6", RTLD_NOW | RTLD_NODELETE);

    ::testing::InitGoogleTest (&argc, argv);
    FailOnJuceAssertion assertions;
    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        result = RUN_ALL_TESTS();
    }
    return assertions.firedOutsideATest() ? 1 : result;
}
