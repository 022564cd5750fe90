#include <gtest/gtest.h>

#include <juce_events/juce_events.h>

// JUCE needs its message manager and GUI singletons for components, fonts and attachments.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
