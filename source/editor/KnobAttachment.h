#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Keeps a knob and its parameter in step, as JUCE's SliderParameterAttachment does: the knob
    takes the parameter's range, texts and default (a double-click returns to it), shows every
    change of the parameter, and a drag of the knob reaches the host as one gesture.

    The one difference is at the way in: a value that is not finite is shown as the parameter's
    default, which is also what the audio plays for it. (Only NaN gets this far: the parameter's
    range takes +Inf to its maximum and -Inf to its minimum.) Handed to a slider, NaN never
    settles: it differs from itself, so the slider and its Value keep telling each other that it
    changed, and the message thread never comes back.
*/
class KnobAttachment : private juce::Slider::Listener
{
public:
    /** Binds the knob to the parameter; the knob shows the parameter's value at once. Both must
        outlive the attachment. Message thread. */
    KnobAttachment (juce::RangedAudioParameter& parameter, juce::Slider& knob);

    /** Binds the knob to the tree state's parameter with this id (one the tree state holds). */
    KnobAttachment (juce::AudioProcessorValueTreeState& state, const juce::String& parameterId, juce::Slider& knob);

    /** Ends the gesture of a drag that is still going on, so the host is never left waiting for it. */
    ~KnobAttachment() override;

private:
    void showValue (float plainValue);

    void sliderValueChanged (juce::Slider*) override;
    void sliderDragStarted (juce::Slider*) override;
    void sliderDragEnded (juce::Slider*) override;

    juce::Slider& knob;
    const float defaultValue;
    juce::ParameterAttachment attachment;
    bool showingParameter = false;
    bool dragging = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KnobAttachment)
};
