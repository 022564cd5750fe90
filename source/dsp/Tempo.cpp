#include "Tempo.h"

#include <climits>
#include <cmath>

namespace Tempo
{
    void refreshPosition (juce::AudioPlayHead* playHead, juce::AudioPlayHead::CurrentPositionInfo& info)
    {
        if (playHead == nullptr)
            return;

        // The framework's own query does exactly the reset-then-fill we want; it is only marked
        // deprecated in favour of the Optional-based getPosition() it is built on.
        JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
        playHead->getCurrentPosition (info);
        JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    }

    int wholeBeatsPerMinute (double bpm) noexcept
    {
        if (std::isnan (bpm))
            return 0;

        // INT_MIN is kept free: Tempo::Text uses it for "no tempo yet".
        if (bpm >= (double) INT_MAX)
            return INT_MAX;

        if (bpm <= (double) -INT_MAX)
            return -INT_MAX;

        return (int) bpm;
    }

    int usableBeatsPerSecond (double bpm, int lastUsable) noexcept
    {
        const auto beatsPerSecond = bpm / 60.0;

        // Written so that NaN fails the test too.
        if (beatsPerSecond >= 1.0 && beatsPerSecond < (double) INT_MAX + 1.0)
            return (int) beatsPerSecond;

        return lastUsable;
    }

    int samplesPerBar (double sampleRate, int beatsPerSecond) noexcept
    {
        jassert (beatsPerSecond >= 1);

        const auto samplesPerBeat = sampleRate / (double) beatsPerSecond;
        constexpr auto longestBeat = INT_MAX / 4;

        if (! (samplesPerBeat > 0.0))
            return 0;

        if (samplesPerBeat >= (double) longestBeat + 1.0)
            return 4 * longestBeat;

        return 4 * (int) samplesPerBeat;
    }
}
