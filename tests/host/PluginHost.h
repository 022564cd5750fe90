#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Loads built plug-in bundles the way a host does, through JUCE's own VST3 and LV2 hosting.

    The formats are created once and live until JUCE shuts down, because an LV2 instance keeps
    using the world of the format that found it. Call everything here on the message thread:
    both formats create their instances synchronously there.
*/
namespace PluginHost
{
    /** Loads the plug-in in a bundle by format name ("VST3" or "LV2").

        A VST3 bundle holds its own plug-in and is opened by its path. LV2 plug-ins are known by
        URI, not by file, so an LV2 load adds the bundle's folder to the places searched and then
        looks the URI up. Only the folders of bundles loaded here are searched, never the default
        LV2 folders, so a copy installed in ~/.lv2 cannot stand in for the bundle asked for.

        Returns nullptr and sets errorMessage when the plug-in cannot be found or opened.
    */
    std::unique_ptr<juce::AudioPluginInstance> load (const juce::String& formatName,
                                                     const juce::File& bundle,
                                                     const juce::String& lv2Uri,
                                                     double sampleRate,
                                                     int blockSize,
                                                     juce::String& errorMessage);

    /** Takes the plug-in's own state out of the state a hosted instance saved.

        Each wrapper packs the plug-in's blob into a container of its own: the VST3 host keeps
        the component state (the blob, then the VST3 client's private bypass data) in base64 inside
        XML; the LV2 host writes Turtle in which the LV2 client stored the blob as base64 text.
        Returns an empty block when the container holds no plug-in state.
    */
    juce::MemoryBlock pluginStateInside (const juce::String& formatName, const juce::MemoryBlock& hostedState);

    /** Closes a hosted LV2 plug-in's window once the messages already posted have run, and returns
        when it is gone. JUCE's host window for an embedded editor posts a call to itself (it keeps
        a bare pointer) when the X server tells it the plug-in's window was configured; deleted at
        once, the window could leave that call to run on freed memory.
    */
    void closeWindowBehindPostedCalls (std::unique_ptr<juce::AudioProcessorEditor>& window);

    //==============================================================================
    /** The bundle of Zurizaz that this build made for a format ("VST3" or "LV2"). */
    juce::File builtBundle (const juce::String& formatName);

    /** The LV2 URI this build gave Zurizaz. */
    juce::String builtLv2Uri();

    /** Loads the Zurizaz this build made, at 48 kHz with blocks of 512. */
    std::unique_ptr<juce::AudioPluginInstance> loadBuiltZurizaz (const juce::String& formatName,
                                                                 juce::String& errorMessage);
}
