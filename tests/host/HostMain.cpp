#include <gtest/gtest.h>

#include <juce_events/juce_events.h>

// The hosted plug-ins are created, driven and destroyed on JUCE's message thread, which is this one.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
