#pragma once

#include <optional>

#include <juce_audio_processors/juce_audio_processors.h>

/** Reading a saved session back: the plug-in's side of the blob that getStateInformation writes
    (the framework's binary XML: "VC2!", the text's length, the text, a zero byte).
*/
namespace SavedState
{
    /** The tree held in a state blob, or nothing when the bytes are not a blob of ours.

        The root's tag must be the given type, whatever its letter case; the tree keeps the tag as
        written. Only a text that JUCE's XML reader handles safely is read, and only a tree that
        comes back whole from its own text is returned, so that the next save holds what this one
        restores. A value whose exponent is too long for the framework's number reader is given
        the value it means, and a value that is not a number is removed (its parameter then takes
        its default). Depends on nothing but the bytes: any thread, no side effects.
    */
    std::optional<juce::ValueTree> readTree (const void* data, int sizeInBytes, const juce::Identifier& type);

    /** Gives every parameter that the loaded tree lacks a PARAM child holding its current value,
        appended in ID order. Left to the tree state, such a child would arrive without a value
        and reset its parameter to the default.
    */
    void appendMissingParameters (juce::ValueTree& loaded, juce::AudioProcessorValueTreeState& treeState);
}
