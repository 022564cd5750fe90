#pragma once

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <juce_events/juce_events.h>

/** The body of a test binary's main: runs every test with JUCE's message manager and GUI
    singletons up (components, fonts and attachments need them) on this thread, and with the
    given catcher of JUCE assertions (see FailOnJuceAssertion.h) installed from before JUCE starts
    until after it has shut down. An assertion that fires outside any test fails the run.

    Header-only, so that the host tests, which compile their own JUCE and never link the
    plug-in's code, share it too.
*/
template <typename AssertionCatcher>
int runTestsInsideJuce (int argc, char** argv)
{
    // JUCE opens libX11 at run time and closes it at shutdown. Xlib keeps its resource-manager
    // tables for as long as it is loaded and never frees them; once it is unloaded LeakSanitizer
    // no longer sees them referenced and reports them as leaks. A host keeps libX11 loaded for
    // the life of the process, so the tests do too.
    dlopen ("libX11.so.6", RTLD_NOW | RTLD_NODELETE);

    ::testing::InitGoogleTest (&argc, argv);
    AssertionCatcher assertions;
    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        result = RUN_ALL_TESTS();
    }
    return assertions.firedOutsideATest() ? 1 : result;
}
