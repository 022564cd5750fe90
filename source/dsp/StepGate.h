#pragma once

#include <array>
#include <atomic>

#include <juce_audio_basics/juce_audio_basics.h>

/** The eight-step gain gate that ends every processed block.

    The step clock counts channel-samples in whole chunks; once per block the gate compares it with
    the step length and moves on by one step at most, lights the handles and ramps the block's gain
    from the previous step's gain to the current one.
*/
namespace StepGate
{
    constexpr int numSteps = 8;
    using Lights = std::array<std::atomic<bool>, numSteps + 1>;   // 0..7 the handles, 8 the last-step indicator

    /** Counts numChannelSamples into the clock: chunkCounter holds the remainder of the chunk under
        way, and stepClock grows by chunkSize at each chunk completed. The clock saturates rather
        than overflowing on absurd counts.
    */
    void countChannelSamples (int& chunkCounter, int& stepClock, int chunkSize, int numChannelSamples) noexcept;

    /** The speed modes, selected by the "speed" parameter truncated to an int. */
    enum class SpeedMode
    {
        other = 0,   // any other int (only a corrupt value gives one)
        subsonic = 1,
        supersonic = 2,
        hypersonic = 3
    };

    /** The mode for the published speed int; anything outside 1..3 is other. */
    constexpr SpeedMode toSpeedMode (int speedMode) noexcept
    {
        return speedMode >= 1 && speedMode <= 3 ? static_cast<SpeedMode> (speedMode) : SpeedMode::other;
    }

    /** What a speed is called in its readout, and how many steps it fits in a bar. */
    struct SpeedInfo
    {
        const char* name;
        int divisor;
    };

    /** One row per SpeedMode, indexed by it. Another int reads as SUPERSONIC yet steps as
        HYPERSONIC does. */
    inline constexpr SpeedInfo speedInfo[] = {
        { "SUPERSONIC", 8 },
        { "SUBSONIC", 2 },
        { "SUPERSONIC", 4 },
        { "HYPERSONIC", 8 }
    };

    constexpr const SpeedInfo& infoFor (SpeedMode mode) noexcept { return speedInfo[(size_t) mode]; }

    /** The bar's divisor for a published speed int: 2 for 1 ("SUBSONIC"), 4 for 2 ("SUPERSONIC"), else 8. */
    int divisorFor (int speedMode) noexcept;

    /** The step length in channel-samples. */
    int stepLength (int samplesPerBar, int speedMode) noexcept;

    /** Moves to the next step (8 wraps to 1) and clears the clock once the clock is past stepLength.
        Returns true if it moved.
    */
    bool advance (int& stepClock, int& currentStep, int stepLength) noexcept;

    /** Lights the handle after the sounding step (handle 1 and the last-step indicator for step 8),
        and puts out the one lit for the step before. No other flag is touched.
    */
    void showStep (Lights& lights, int currentStep) noexcept;

    /** Applies gain to every channel: a ramp from previousGain over the block when the two differ
        (NaN counts as different), else a plain gain. previousGain becomes gain.
    */
    void applyGain (juce::AudioBuffer<float>& buffer, float& previousGain, float gain) noexcept;
}
