#pragma once

#include <array>

#include <juce_audio_processors/juce_audio_processors.h>

#include "dsp/Knob.h"

/** The IDs of the plug-in's 19 parameters, in host index order.

    The first eight drive the sound and the knobs; "bypassOn", "knobsShowing" and "presets"
    hold the editor's bypass, panel and preset, and "babyRadod1".."babyRadod8" the eight
    step-handle heights (as fractions of 400 pixels). The processor's members follow them.
*/
namespace ParameterIds
{
    inline constexpr const char* speed = "speed";
    inline constexpr const char* fx = "fx";
    inline constexpr const char* impact = "impact";
    inline constexpr const char* depth = "depth";
    inline constexpr const char* rate = "rate";
    inline constexpr const char* feedback = "feedback";
    inline constexpr const char* phaserX = "phaserX";
    inline constexpr const char* bite = "bite";
    inline constexpr const char* bypassOn = "bypassOn";
    inline constexpr const char* knobsShowing = "knobsShowing";
    inline constexpr const char* presets = "presets";

    /** "babyRadod1".."babyRadod8": the height of step handle 1..8. */
    inline constexpr const char* handleHeights[] = { "babyRadod1", "babyRadod2", "babyRadod3", "babyRadod4",
                                                     "babyRadod5", "babyRadod6", "babyRadod7", "babyRadod8" };
}

/** The knob parameters' table, and the layout of all 19 parameters. */
namespace Parameters
{
    /** One knob parameter: its range and default, the step its knob turns in, and its readout.

        The parameter itself keeps the framework's 0.01 grid from the minimum; the knob's step is the
        coarser (or finer) one the editor gives the knob. The values are doubles, as the knob takes
        them; the parameter takes them as floats.

        The audio thread publishes the value times readoutScale, truncated to an int, and the readout
        shows readoutPrefix and that int. Speed and fx have no prefix: their readouts name the mode
        their int selects.
    */
    struct KnobParameter
    {
        const char* id;
        double minimum, maximum, defaultValue, knobStep;
        const char* readoutPrefix;
        float readoutScale;
    };

    /** The eight knob parameters, indexed by Knob. The rate's minimum and step are the floats 0.1f
        and 0.02f widened, which is what its knob has always used. */
    inline constexpr std::array<KnobParameter, Knobs::count> knobParameters { {
        { ParameterIds::speed, 1.0, 3.0, 2.0, 1.0, nullptr, 1.0f },
        { ParameterIds::fx, 1.0, 5.0, 1.0, 1.0, nullptr, 1.0f },
        { ParameterIds::impact, 0.1, 1.0, 1.0, 0.01, "IMPACT: ", 100.0f },
        { ParameterIds::depth, 0.0, 1.0, 0.2, 0.01, "DEPTH: ", 100.0f },
        { ParameterIds::rate, (double) 0.1f, 20.0, 3.5, (double) 0.02f, "RATE: ", 5.0f },
        { ParameterIds::feedback, 0.0, 0.6, 0.3, 0.005, "FEEDBACK: ", 100.0f },
        { ParameterIds::phaserX, 0.0, 1.0, 0.0, 0.1, "PHASE: ", 100.0f },
        { ParameterIds::bite, 2.0, 32.0, 32.0, 2.0, "BITE: ", 1.0f },
    } };

    constexpr const KnobParameter& knobParameter (Knob knob) noexcept { return knobParameters[Knobs::index (knob)]; }

    /** Builds the 19 parameters in host index order. */
    juce::AudioProcessorValueTreeState::ParameterLayout createLayout();
}
