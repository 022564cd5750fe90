#pragma once

#include <atomic>

#include <juce_audio_basics/juce_audio_basics.h>

/** A host transport whose tempo a test can change from any thread while the audio thread reads it.

    getPosition() allocates nothing and takes no lock, like a real host's play head.
*/
class FakePlayHead  : public juce::AudioPlayHead
{
public:
    void setTempo (double newBpm) noexcept   { bpm.store (newBpm, std::memory_order_relaxed); }

    /** When false the host reports no position at all. */
    void setReportsPosition (bool shouldReport) noexcept   { reportsPosition.store (shouldReport, std::memory_order_relaxed); }

    juce::Optional<PositionInfo> getPosition() const override
    {
        if (! reportsPosition.load (std::memory_order_relaxed))
            return {};

        PositionInfo info;
        info.setBpm (bpm.load (std::memory_order_relaxed));
        info.setIsPlaying (true);
        return info;
    }

private:
    std::atomic<double> bpm { 120.0 };
    std::atomic<bool> reportsPosition { true };
};
