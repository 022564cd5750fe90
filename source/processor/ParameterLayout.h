#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** The IDs of the plug-in's 19 parameters, in host index order.

    The first eight drive the sound and the knobs; "bypassOn", "knobsShowing" and "presets"
    hold the editor's bypass, panel and preset, and "babyRadod1".."babyRadod8" the eight
    step-handle heights (as fractions of 400 pixels). The processor's members follow them.
*/
namespace ParameterIds
{
    inline constexpr const char* speed        = "speed";
    inline constexpr const char* fx           = "fx";
    inline constexpr const char* impact       = "impact";
    inline constexpr const char* depth        = "depth";
    inline constexpr const char* rate         = "rate";
    inline constexpr const char* feedback     = "feedback";
    inline constexpr const char* phaserX      = "phaserX";
    inline constexpr const char* bite         = "bite";
    inline constexpr const char* bypassOn     = "bypassOn";
    inline constexpr const char* knobsShowing = "knobsShowing";
    inline constexpr const char* presets      = "presets";

    /** "babyRadod1".."babyRadod8": the height of step handle 1..8. */
    inline constexpr const char* handleHeights[] = { "babyRadod1", "babyRadod2", "babyRadod3", "babyRadod4",
                                                    "babyRadod5", "babyRadod6", "babyRadod7", "babyRadod8" };
}

/** Builds the 19 parameters in host index order. */
juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();
