#pragma once

#include <juce_events/juce_events.h>

namespace juce
{
    // JUCE's one-step pump of the message queue on Linux (X events, timers, posted messages). The
    // public runDispatchLoopUntil exists only with modal loops, which the plug-in doesn't enable.
    // A hosted plug-in's own events come in through this loop too, since its VST3 client registers
    // them with the host's run loop.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

/** Runs the message loop until the condition holds or the time is up; false if it never held. */
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
    runMessagesUntil ([]
                      { return false; },
                      ms);
}

/** Runs the message loop until nothing is left to dispatch: posted messages, timers that
    are due and events already waiting on the X connection, including those that running these
    posts in turn. Gives up after timeoutMs if the loop never goes quiet.
*/
inline bool runPendingMessages (int timeoutMs = 10000)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (juce::dispatchNextMessageOnSystemQueue (true))
        if (juce::Time::getMillisecondCounter() >= end)
            return false;

    return true;
}
