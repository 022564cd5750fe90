#include "FailOnJuceAssertion.h"
#include "RunTests.h"

// The hosted plug-ins are created, driven and destroyed on JUCE's message thread, which is this
// one. The bundles' assertions reach only their own stderr; this host's JUCE writes there too.
int main (int argc, char** argv)
{
    return runTestsInsideJuce<FailOnJuceAssertionInOutput> (argc, argv);
}
