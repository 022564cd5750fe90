#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** What a host hears from the processor, in order: "begin Name" and "end Name" for gestures (by
    the parameter's name), "id=plain" for values (by its id, with the plain value). Listens from
    construction to destruction.
*/
struct HostRecorder : private juce::AudioProcessorListener
{
    explicit HostRecorder (juce::AudioProcessor& p) : processor (p) { processor.addListener (this); }
    ~HostRecorder() override { processor.removeListener (this); }

    /** The events of one parameter, by its id. */
    juce::StringArray of (const juce::String& id) const
    {
        const auto name = nameOf (id);
        juce::StringArray result;

        for (const auto& event : events)
            if (event.startsWith (id + "=") || event == "begin " + name || event == "end " + name)
                result.add (event);

        return result;
    }

    /** The ids of the parameters whose values the host heard, in order. */
    juce::StringArray valuesHeard() const
    {
        juce::StringArray ids;

        for (const auto& event : events)
            if (event.containsChar ('='))
                ids.add (event.upToFirstOccurrenceOf ("=", false, false));

        return ids;
    }

    juce::StringArray events;

private:
    juce::String nameOf (const juce::String& id) const
    {
        for (auto* parameter : processor.getParameters())
            if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter); withId != nullptr && withId->paramID == id)
                return parameter->getName (100);

        return {};
    }

    void audioProcessorParameterChanged (juce::AudioProcessor* p, int index, float value) override
    {
        auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (p->getParameters()[index]);
        events.add (parameter->paramID + "=" + juce::String (parameter->convertFrom0to1 (value)));
    }

    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor* p, int index) override
    {
        events.add ("begin " + p->getParameters()[index]->getName (100));
    }

    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor* p, int index) override
    {
        events.add ("end " + p->getParameters()[index]->getName (100));
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    juce::AudioProcessor& processor;
};
