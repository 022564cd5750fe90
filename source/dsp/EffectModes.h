#pragma once

#include <cmath>
#include <limits>

#include "Knob.h"
#include "LiveParameter.h"

/** The sample-level arithmetic of the effect modes, and the passes of DISTORT and DESTROY.

    A pass runs one channel of the block through a mode, sample by sample. The processor runs one
    pass per input channel, in channel order. DESTROY's level curve acts on the left and the right
    channel in every pass, so on a stereo block each channel takes it twice. GLIMMER and QUAKE live
    in ModulatedDelay.
*/
namespace EffectModes
{
    /** The effect modes, selected by the "fx" parameter truncated to an int. */
    enum class EffectMode
    {
        none = 0,   // any other int (only a corrupt value gives one): the audio passes untouched
        glimmer = 1,
        distort = 2,
        silence = 3,
        quake = 4,
        destroy = 5
    };

    /** The mode for the published fx int; anything outside 1..5 is none. */
    constexpr EffectMode toEffectMode (int fxMode) noexcept
    {
        return fxMode >= 1 && fxMode <= 5 ? static_cast<EffectMode> (fxMode) : EffectMode::none;
    }

    /** What a mode is called in the fx readout, and which of the covered knobs it uses. */
    struct ModeInfo
    {
        const char* name;
        bool usesImpact, usesBite, usesDelayKnobs;   // delay knobs: depth, rate, feedback, phaserX

        /** Whether the mode reads the knob; speed and fx, which choose the step and the mode, are
            read by every mode. */
        constexpr bool uses (Knob knob) const noexcept
        {
            switch (knob)
            {
                case Knob::speed:
                case Knob::fx:
                    return true;

                case Knob::impact:
                    return usesImpact;

                case Knob::bite:
                    return usesBite;

                case Knob::depth:
                case Knob::rate:
                case Knob::feedback:
                case Knob::phaserX:
                    return usesDelayKnobs;
            }

            return false;
        }
    };

    /** One row per EffectMode, indexed by it. */
    inline constexpr ModeInfo modeInfo[] = {
        { "FX", false, false, false },
        { "GLIMMER", true, true, true },
        { "DISTORT", true, false, false },
        { "SILENCE", false, false, false },
        { "QUAKE", true, true, true },
        { "DESTROY", true, true, false }
    };

    constexpr const ModeInfo& infoFor (EffectMode mode) noexcept { return modeInfo[(size_t) mode]; }

    /** v truncated toward zero to a whole multiple of stepSize (1 / levels per unit). */
    inline float quantise (float v, float stepSize) noexcept
    {
        return v - std::fmod (v, stepSize);
    }

    /** quantise() at a fixed number of levels per unit, with the same result bit for bit.

        fmodf is slow for fine steps (about 25 ns at 2^32 levels), so when the levels are an exact
        power of two the value is scaled, truncated and scaled back instead: every step is exact
        there, and a small negative value gives +0 as v - fmodf (v, s) does. NaN and infinities go
        through fmodf.
    */
    class Quantiser
    {
    public:
        /** Sets the levels per unit; v is then quantised to whole multiples of 1 / levelsPerUnit. */
        void setLevels (float levelsPerUnit) noexcept
        {
            levels = levelsPerUnit;
            stepSize = 1.0f / levelsPerUnit;

            int exponent = 0;
            // 1 to 2^126 levels: scaling up cannot underflow, and the step itself is a normal float.
            exactPowerOfTwo = std::frexp (levelsPerUnit, &exponent) == 0.5f && exponent >= 1 && exponent <= 127;
        }

        float operator() (float v) const noexcept
        {
            if (exactPowerOfTwo)
            {
                const auto scaled = v * levels;

                // Below 2^23 the cast truncates exactly, and gives +0 (not -0) for small negative values.
                if (std::abs (scaled) < 8388608.0f)
                    return (float) (int) scaled * stepSize;

                // From 2^23 up the scaled value is whole: a finite v already lies on the grid.
                if (std::abs (v) <= std::numeric_limits<float>::max())
                    return v;
            }

            return quantise (v, stepSize);
        }

    private:
        float levels = 1.0f, stepSize = 1.0f;
        bool exactPowerOfTwo = false;
    };

    /** The arctangent waveshaper: stays within about 0.15 of zero for inputs within +-1. */
    inline float distortSample (float x, float impact) noexcept
    {
        auto a = 1000.0f * impact;
        a = a + x;
        a = a * x;
        const auto t = std::atan (a) * 0.63661975f;
        const auto s = (x * 0.5f + t) * 0.05f;
        return s + s;
    }

    /** DESTROY's bit depth for the block's bite value: 8 above 24, 6 strictly between 12 and 24, else 4. */
    inline int destroyBitDepth (float bite) noexcept
    {
        if (bite > 24.0f)
            return 8;

        if (bite > 12.0f && bite < 24.0f)
            return 6;

        return 4;
    }

    /** DESTROY's level curve for one impact: the factor 4m(1 - m) with m = impact / 2. */
    struct DestroyLevel
    {
        explicit DestroyLevel (float impact) noexcept : m (impact * 0.5f), oneLessM (1.0f - m) {}

        float left (float x) const noexcept { return ((x * oneLessM) * m) * 4.0f; }

        /** The same curve with the factors in the right channel's order. */
        float right (float x) const noexcept { return ((oneLessM * x) * m) * 4.0f; }

        float m, oneLessM;
    };

    /** DESTROY's level curve on the left channel. */
    inline float destroyLevelLeft (float left, float impact) noexcept { return DestroyLevel (impact).left (left); }

    /** DESTROY's level curve on the right channel. */
    inline float destroyLevelRight (float right, float impact) noexcept { return DestroyLevel (impact).right (right); }

    //==============================================================================
    /** DISTORT over numSamples of one channel, reading impact at every sample. */
    void distortPass (float* channel, int numSamples, const Dsp::LiveParameter& impact) noexcept;

    /** DESTROY's pass for one channel of the block.

        @param channel  the channel this pass quantises
        @param left     channel 0, which takes the level curve at every sample
        @param right    channel 1, which takes it too; nullptr on a one-channel block, whose pass
                        then touches channel 0 alone
        @param bite     the block's bite value, fixed for the whole block
    */
    void destroyPass (float* channel, float* left, float* right, int numSamples,
                      float bite, const Dsp::LiveParameter& impact) noexcept;
}
