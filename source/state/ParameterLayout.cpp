#include "ParameterLayout.h"

#include "processor/StepLevels.h"

namespace
{
    juce::String capitalised (const char* id)
    {
        return juce::String (id).substring (0, 1).toUpperCase() + juce::String (id).substring (1);
    }

    // The table's doubles narrow to the floats the parameters have always had.
    static_assert ((float) Parameters::knobParameter (Knob::impact).minimum == 0.1f && (float) Parameters::knobParameter (Knob::depth).defaultValue == 0.2f
                   && (float) Parameters::knobParameter (Knob::feedback).maximum == 0.6f && (float) Parameters::knobParameter (Knob::feedback).defaultValue == 0.3f);

    // The framework's five-argument form: a linear range with a 0.01 grid from the minimum.
    std::unique_ptr<juce::AudioParameterFloat> floatParameter (const char* id, float minimum, float maximum, float defaultValue)
    {
        return std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { id, 0 }, capitalised (id),
                                                            minimum, maximum, defaultValue);
    }

    std::unique_ptr<juce::AudioParameterInt> intParameter (const char* id, int minimum, int maximum, int defaultValue,
                                                           bool automatable = true)
    {
        return std::make_unique<juce::AudioParameterInt> (juce::ParameterID { id, 0 }, capitalised (id),
                                                          minimum, maximum, defaultValue,
                                                          juce::AudioParameterIntAttributes().withAutomatable (automatable));
    }
}

juce::AudioProcessorValueTreeState::ParameterLayout Parameters::createLayout()
{
    using namespace ParameterIds;

    juce::AudioProcessorValueTreeState::ParameterLayout layout;

    for (auto& row : Parameters::knobParameters)
        layout.add (floatParameter (row.id, (float) row.minimum, (float) row.maximum, (float) row.defaultValue));

    layout.add (intParameter (bypassOn, 0, 1, 0),
                intParameter (knobsShowing, 0, 1, 0),
                // The preset id + 1, for ids 0..12; preset 1 to start with, as the processor does.
                // Not offered for automation: a host value only selects the menu's entry, it does
                // not load the preset's knobs and handles.
                intParameter (presets, 1, 13, 2, false));

    // Heights of 4..400 pixels as fractions of the scale, on a grid of one pixel; each handle starts
    // at the bottom of its column, as the processor's handles do.
    constexpr auto scale = (float) StepLevels::heightScale;

    for (auto* id : handleHeights)
        layout.add (std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { id, 0 }, capitalised (id),
                                                                 juce::NormalisableRange<float> (4.0f / scale, 1.0f, 1.0f / scale),
                                                                 (float) StepLevels::lowestY / scale));

    return layout;
}
