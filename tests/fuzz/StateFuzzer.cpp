// libFuzzer target: any bytes handed to setStateInformation, as a host restoring a damaged session.
// Build with -DZURIZAZ_FUZZING=ON (clang), then for instance:
//   build-fuzz/tests/fuzz/ZurizazStateFuzzer -max_total_time=60 tests/fuzz/corpus

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <juce_events/juce_events.h>

#include "StateChecks.h"

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    // The tree state's timer and the parameters need the message manager, created on this thread.
    // Never shut down: at exit JUCE's own statics are destroyed before a static initialiser would
    // run its shutdown, which would then free them twice.
    static const auto* juce = new juce::ScopedJuceInitialiser_GUI();
    juce::ignoreUnused (juce);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    // Built on the first input, once JUCE is up, and kept (see LLVMFuzzerInitialize).
    static auto* checker = new StateChecker();
    const auto failure = checker->check (data, size);

    if (! failure.empty())
    {
        std::fprintf (stderr, "State check failed: %s\n", failure.c_str());
        std::abort();
    }

    return 0;
}
