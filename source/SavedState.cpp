#include <cmath>
#include <cstring>
#include <string_view>

#include "PluginProcessor.h"

#include "ParameterLayout.h"

namespace
{
    /** Sets a parameter to a plain value as one complete change gesture, so the host records it. */
    void pushPlainValue (juce::AudioProcessorValueTreeState& treeState, const char* id, float plainValue)
    {
        auto* parameter = treeState.getParameter (id);
        parameter->beginChangeGesture();
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
        parameter->endChangeGesture();
    }

    /** Gives every parameter that the loaded tree lacks a PARAM child holding its current value,
        appended in ID order. Left to the tree state, such a child would arrive without a value
        and reset its parameter to the default.
    */
    void appendMissingParameters (juce::ValueTree& loaded, juce::AudioProcessorValueTreeState& treeState)
    {
        juce::StringArray ids;

        for (auto* parameter : treeState.processor.getParameters())
            if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
                ids.add (withId->paramID);

        ids.sort (false);

        for (const auto& id : ids)
            if (! loaded.getChildWithProperty ("id", id).isValid())
                loaded.appendChild (juce::ValueTree ("PARAM", { { "id", id },
                                                                { "value", treeState.getRawParameterValue (id)->load() } }),
                                    nullptr);
    }

    /** The text of a blob as getXmlFromBinary reads it: from byte 8, no more bytes than the
        length field gives and the blob holds, up to a zero byte. Empty when there is none. */
    std::string_view textOfBlob (const void* data, int sizeInBytes)
    {
        if (sizeInBytes <= 8)
            return {};

        const auto lengthField = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

        if (lengthField <= 0)
            return {};

        const auto* text = static_cast<const char*> (data) + 8;
        return { text, ::strnlen (text, (size_t) juce::jmin (sizeInBytes - 8, lengthField)) };
    }

    /** JUCE's XML reader has faults that a damaged text reaches, so the text is checked first:
        - it reads past the end of a text that ends inside a UTF-8 sequence: the text must be
          valid UTF-8;
        - it never returns from a processing instruction followed by text inside an element
          ("<a><?p?>x</a>" hangs the host): ours has its declaration first, after nothing but
          whitespace (which the reader skips), and no other;
        - a document type declaration's entities expand into markup that it reads again, past
          the check above: ours has none.
    */
    bool textIsSafeToRead (std::string_view text)
    {
        const auto start = text.find_first_not_of (" \t\n\v\f\r");
        const auto fromStart = start == std::string_view::npos ? std::string_view() : text.substr (start);

        return juce::CharPointer_UTF8::isValidString (text.data(), (int) text.size())
            && fromStart.find ("<?", 1) == std::string_view::npos
            && text.find ("<!DOCTYPE") == std::string_view::npos;
    }

    /** A value that is not a number ("nan" parses as one) cannot be clamped into a range and would
        reach the audio as NaN. Its element is treated as one without a value: the default.
    */
    void dropValuesThatAreNotNumbers (juce::ValueTree& loaded)
    {
        for (auto child : loaded)
            if (child.hasProperty ("value") && std::isnan ((double) child["value"]))
                child.removeProperty ("value", nullptr);
    }

    /** JUCE's XML reader takes some damaged texts that its writer then writes back in a form
        the reader refuses (an overlong UTF-8 sequence in a tag name, for one), or differently
        (an attribute name twice in one element: the parameter takes the first value, the save
        writes the last). The session saved after such a restore would not hold what plays, or
        would not load at all. A tree that does not come back whole from its own text is dropped.
    */
    bool comesBackFromItsOwnText (const juce::ValueTree& tree)
    {
        const auto written = tree.createXml();

        if (written == nullptr)
            return false;

        const auto reread = juce::parseXML (written->toString (juce::XmlElement::TextFormat().singleLine()));
        return reread != nullptr && juce::ValueTree::fromXml (*reread).isEquivalentTo (tree);
    }
}

//==============================================================================
void ZurizazAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    // The editor keeps these in members only; their carriers take them into the session. The
    // preset goes in as its id + 1 and each height as a fraction of 400 pixels, both as plain
    // values on grids with a point for every id and every whole pixel, so that prepareToPlay
    // gets back what was saved.
    pushPlainValue (treeState, ParameterIds::bypassOn, bypassOn ? 1.0f : 0.0f);
    pushPlainValue (treeState, ParameterIds::knobsShowing, knobsShowing ? 1.0f : 0.0f);
    pushPlainValue (treeState, ParameterIds::presets, (float) (currentPreset + 1));

    for (int k = 0; k < numSteps; ++k)
        pushPlainValue (treeState, ParameterIds::handleHeights[k], handleHeight[(size_t) k] / 400.0f);

    if (auto xml = treeState.copyState().createXml())
        copyXmlToBinary (*xml, destData);   // one line: declaration, a space, the root element
}

void ZurizazAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    // Anything that is not our blob is dropped silently; the root's letter case is not held
    // against it. The members follow the restored carriers at the next prepareToPlay, not here.
    if (! textIsSafeToRead (textOfBlob (data, sizeInBytes)))
        return;

    if (auto xml = getXmlFromBinary (data, sizeInBytes))
    {
        auto loaded = juce::ValueTree::fromXml (*xml);

        if (xml->getTagName().equalsIgnoreCase (treeState.state.getType().toString()) && comesBackFromItsOwnText (loaded))
        {
            dropValuesThatAreNotNumbers (loaded);
            appendMissingParameters (loaded, treeState);
            treeState.replaceState (loaded);
        }
    }
}
