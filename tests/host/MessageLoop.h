#pragma once

#include <juce_events/juce_events.h>

namespace juce
{
    // JUCE's one-step pump of the message queue on Linux; the hosted plug-in's own events come in
    // through this loop too, since its VST3 client registers them with the host's run loop.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

/** Runs the host's message loop until the condition holds or the time is up. */
template <typename Condition>
bool runMessagesUntil (Condition&& condition, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return false;

        if (! juce::dispatchNextMessageOnSystemQueue (true))
            juce::Thread::sleep (1);
    }

    return true;
}

inline void runMessagesFor (int ms)
{
    runMessagesUntil ([] { return false; }, ms);
}
