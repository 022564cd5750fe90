#pragma once

#include <limits>

#include <juce_audio_basics/juce_audio_basics.h>

/** The host's tempo and the bar length derived from it.

    The bar is four beats at the tempo taken in whole beats per second, so every tempo from 60 up to
    but not including 120 bpm gives the bar of 60 bpm, and so on. A tempo that gives no whole beat per
    second (below 60 bpm, zero, negative, NaN) or too many to count (infinite or beyond an int) is
    not usable: the bar then keeps the last usable whole number of beats per second, which is 2
    (120 bpm) before the host has sent any.
*/
namespace Tempo
{
    /** Refreshes info from the play head. When the host reports a position, info is reset to the
        framework's defaults (120 bpm, 4/4, everything else zero) and takes every field the host
        supplies; with no play head or no reported position it keeps what it held.
    */
    void refreshPosition (juce::AudioPlayHead* playHead, juce::AudioPlayHead::CurrentPositionInfo& info);

    /** The tempo as the window shows it: truncated toward zero, saturated to +-2147483647, and 0 for NaN. */
    int wholeBeatsPerMinute (double bpm) noexcept;

    /** Whole beats per second of bpm, or lastUsable when bpm gives none or more than an int holds. */
    int usableBeatsPerSecond (double bpm, int lastUsable) noexcept;

    /** Four beats in samples: 4 * (int) (sampleRate / beatsPerSecond). Never negative: a sample rate
        that is not a positive number gives 0, and a bar too long for an int is held at the largest
        multiple of 4 that fits. beatsPerSecond must be at least 1.
    */
    int samplesPerBar (double sampleRate, int beatsPerSecond) noexcept;

    /** The tempo every bar starts from before a host reports a usable one. */
    constexpr int defaultBeatsPerSecond = 2;

    //==============================================================================
    /** The bar length of the tempo the host sends block by block.

        Remembers the last usable whole number of beats per second, and works the bar out again
        only when the tempo or the sample rate has moved since the last block.
    */
    class BarLength
    {
    public:
        /** The bar in samples for bpm at sampleRate. */
        int update (double bpm, double sampleRate) noexcept
        {
            if (bpm != lastBpm || sampleRate != lastSampleRate)
            {
                lastBpm = bpm;
                lastSampleRate = sampleRate;
                beatsPerSecond = usableBeatsPerSecond (bpm, beatsPerSecond);
                samples = samplesPerBar (sampleRate, beatsPerSecond);
            }

            return samples;
        }

    private:
        // NaN matches nothing, so the first update always works the bar out.
        double lastBpm = std::numeric_limits<double>::quiet_NaN();
        double lastSampleRate = std::numeric_limits<double>::quiet_NaN();
        int beatsPerSecond = defaultBeatsPerSecond;
        int samples = 0;
    };
}
