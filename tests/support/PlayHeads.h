#pragma once

#include <atomic>

#include <juce_audio_basics/juce_audio_basics.h>

/** A play head that reports whatever position a test chooses, or none. For one thread only: the
    test sets the position between blocks.
*/
struct FakePlayHead : public juce::AudioPlayHead
{
    juce::Optional<PositionInfo> getPosition() const override { return position; }

    void setBpm (double bpm)
    {
        PositionInfo info;
        info.setBpm (bpm);
        position = info;
    }

    juce::Optional<PositionInfo> position;
};

/** A host's playing transport in 4/4, whose tempo and time a test can change from any thread
    while the audio thread reads it.

    getPosition() allocates nothing and takes no lock, like a real host's play head. It always
    gives a time in samples, which a VST3 host must.
*/
class FakeTransport : public juce::AudioPlayHead
{
public:
    explicit FakeTransport (double tempo = 120.0, double rate = 48000.0) : bpm (tempo), sampleRate (rate) {}

    void setTempo (double newBpm) noexcept { bpm.store (newBpm, std::memory_order_relaxed); }

    /** When false the host reports no position at all. */
    void setReportsPosition (bool shouldReport) noexcept { reportsPosition.store (shouldReport, std::memory_order_relaxed); }

    /** Moves the transport on by a block. */
    void advance (int numSamples) noexcept { samples.fetch_add (numSamples, std::memory_order_relaxed); }

    juce::int64 getTimeInSamples() const noexcept { return samples.load (std::memory_order_relaxed); }

    juce::Optional<PositionInfo> getPosition() const override
    {
        if (! reportsPosition.load (std::memory_order_relaxed))
            return {};

        const auto time = getTimeInSamples();
        PositionInfo info;
        info.setBpm (bpm.load (std::memory_order_relaxed));
        info.setTimeSignature (TimeSignature { 4, 4 });
        info.setTimeInSamples (time);
        info.setTimeInSeconds ((double) time / sampleRate);
        info.setIsPlaying (true);
        return info;
    }

private:
    std::atomic<double> bpm;
    std::atomic<juce::int64> samples { 0 };
    std::atomic<bool> reportsPosition { true };
    const double sampleRate;
};
