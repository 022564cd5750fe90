#include "KnobAttachment.h"

#include <cmath>

namespace
{
    /** The parameter's own range, with its mapping and grid, for a slider whose ends may later be
        set apart from it (the mapping then follows the slider's ends). */
    juce::NormalisableRange<double> sliderRangeFor (const juce::RangedAudioParameter& parameter)
    {
        auto range = parameter.getNormalisableRange();

        auto from0to1 = [range] (double start, double end, double normalised) mutable
        {
            range.start = (float) start;
            range.end = (float) end;
            return (double) range.convertFrom0to1 ((float) normalised);
        };

        auto to0to1 = [range] (double start, double end, double mapped) mutable
        {
            range.start = (float) start;
            range.end = (float) end;
            return (double) range.convertTo0to1 ((float) mapped);
        };

        auto snap = [range] (double start, double end, double mapped) mutable
        {
            range.start = (float) start;
            range.end = (float) end;
            return (double) range.snapToLegalValue ((float) mapped);
        };

        juce::NormalisableRange<double> result { (double) range.start, (double) range.end,
                                                 std::move (from0to1), std::move (to0to1), std::move (snap) };
        result.interval = range.interval;
        result.skew = range.skew;
        result.symmetricSkew = range.symmetricSkew;
        return result;
    }
}

KnobAttachment::KnobAttachment (juce::RangedAudioParameter& parameter, juce::Slider& k)
    : knob (k),
      defaultValue (parameter.convertFrom0to1 (parameter.getDefaultValue())),
      attachment (parameter, [this] (float plain)
                  { showValue (plain); })
{
    knob.valueFromTextFunction = [&parameter] (const juce::String& text)
    { return (double) parameter.convertFrom0to1 (parameter.getValueForText (text)); };
    knob.textFromValueFunction = [&parameter] (double value)
    { return parameter.getText (parameter.convertTo0to1 ((float) value), 0); };
    knob.setDoubleClickReturnValue (true, defaultValue);
    knob.setNormalisableRange (sliderRangeFor (parameter));

    attachment.sendInitialUpdate();
    knob.valueChanged();
    knob.addListener (this);
}

KnobAttachment::KnobAttachment (juce::AudioProcessorValueTreeState& state, const juce::String& parameterId, juce::Slider& k)
    : KnobAttachment (*state.getParameter (parameterId), k)
{
}

KnobAttachment::~KnobAttachment()
{
    knob.removeListener (this);

    if (dragging)
        attachment.endGesture();
}

void KnobAttachment::showValue (float plainValue)
{
    // The knob shows the parameter and tells it nothing back.
    const juce::ScopedValueSetter<bool> showing (showingParameter, true);
    knob.setValue (std::isfinite (plainValue) ? plainValue : defaultValue, juce::sendNotificationSync);
}

void KnobAttachment::sliderValueChanged (juce::Slider*)
{
    if (! showingParameter)
        attachment.setValueAsPartOfGesture ((float) knob.getValue());
}

void KnobAttachment::sliderDragStarted (juce::Slider*)
{
    dragging = true;
    attachment.beginGesture();
}

void KnobAttachment::sliderDragEnded (juce::Slider*)
{
    dragging = false;
    attachment.endGesture();
}
