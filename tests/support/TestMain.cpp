#include "FailOnJuceAssertion.h"
#include "RunTests.h"

// The plug-in's code runs in this binary, so its assertions reach this JUCE's logger.
int main (int argc, char** argv)
{
    return runTestsInsideJuce<FailOnJuceAssertion> (argc, argv);
}
