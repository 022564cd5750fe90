#pragma once

#include <vector>

#include "LiveParameter.h"

/** The swept stereo delay of GLIMMER and QUAKE.

    Two circular lines share one write position. A sine oscillator sweeps the left line's delay, and
    the same oscillator led by "phaserX" cycles sweeps the right one's. Each delayed sample is fed
    back, scaled by "feedback", into the next write, and mixed with the dry signal by "impact".

    The state lives on the processor; DelayLines refers to it, so a test can hand in its own. A pass
    runs one channel of the block: it quantises that channel by "bite", then writes, reads and mixes
    both channels, whichever channel the pass is for. A stereo block therefore writes the lines twice
    per frame and the oscillator turns twice per frame: that is this plug-in's sound.

    On a one-channel block the pass touches channel 0 alone: it writes and reads the left line only,
    and the right line, its feedback and the right oscillator stand still.
*/
namespace ModulatedDelay
{
    /** References to the delay state that carries over from block to block. */
    struct DelayLines
    {
        std::vector<float>& left;
        std::vector<float>& right;
        int& length;       // entries in each line, 0 while no line is allocated
        int& writeIndex;   // where the next write goes, 0 to length - 1
        float& lfoPhase;   // in cycles, 0 to 1
        float& feedbackLeft;
        float& feedbackRight;
    };

    /** The parameters a pass reads afresh at every sample. */
    struct Controls
    {
        Dsp::LiveParameter impact;
        Dsp::LiveParameter depth;
        Dsp::LiveParameter rate;
        Dsp::LiveParameter feedback;
        Dsp::LiveParameter phaserX;
        Dsp::LiveParameter bite;
    };

    /** The sweep of a mode, in seconds: from minimum to minimum + span. */
    struct SweepRange
    {
        float minimum;
        float span;
    };

    constexpr SweepRange glimmerSweep { 0.005f, 0.03f - 0.005f };   // 5 to 30 ms
    constexpr SweepRange quakeSweep { 0.001f, 0.005f - 0.001f };    // 1 to 5 ms

    //==============================================================================
    /** The oscillator's next phase: rate cycles per second at sampleRate, wrapped once above 1. */
    float advancePhase (float phase, float rate, double sampleRate) noexcept;

    /** The delay in write positions for an oscillator output sine in -1..1. */
    float delayInSamples (float depth, float sine, SweepRange sweep, double sampleRate) noexcept;

    /** Reads a line delay positions behind writeIndex, interpolating linearly between neighbours.

        A read position that float rounding carries onto the line's end after the wrap (or one that
        bad input makes meaningless) reads from position 0, so the read never leaves the line.
    */
    float readLine (const float* line, int length, int writeIndex, float delay) noexcept;

    /** One channel's pass over numSamples.

        The lines and the feedback never keep a value that is not finite: 0 is kept in its place,
        so a NaN or an infinity that arrives in one sample leaves with that sample.

        @param channel  the channel this pass quantises by "bite"
        @param left     channel 0
        @param right    channel 1, or nullptr on a one-channel block
        Does nothing while no line is allocated.
    */
    void process (DelayLines& lines, const Controls& controls, SweepRange sweep, double sampleRate,
                  float* channel, float* left, float* right, int numSamples) noexcept;

    /** The same pass written plainly, one sample at a time with the C library's sine: the form
        that process() matches bit for bit, kept as its reference.
    */
    void processPlain (DelayLines& lines, const Controls& controls, SweepRange sweep, double sampleRate,
                       float* channel, float* left, float* right, int numSamples) noexcept;
}
