#pragma once

#include <cstring>

#include "Parameters.h"
#include "processor/PluginProcessor.h"

/** Helpers for tests that save, inspect, forge and restore state blobs. */
namespace StateBlobs
{
    inline juce::MemoryBlock save (ZurizazAudioProcessor& p)
    {
        juce::MemoryBlock blob;
        p.getStateInformation (blob);
        return blob;
    }

    inline void restore (ZurizazAudioProcessor& p, const juce::MemoryBlock& blob)
    {
        p.setStateInformation (blob.getData(), (int) blob.getSize());
    }

    /** The XML text of a well-formed blob: the bytes between the header and the final zero. */
    inline juce::String textOf (const juce::MemoryBlock& blob)
    {
        return juce::String::fromUTF8 (static_cast<const char*> (blob.getData()) + 8, (int) blob.getSize() - 9);
    }

    inline juce::String savedText (ZurizazAudioProcessor& p)
    {
        return textOf (save (p));
    }

    /** Builds a blob by hand: the magic, a length field, the text's bytes and a zero byte. */
    inline juce::MemoryBlock forge (const void* text, size_t numBytes, juce::int32 lengthField)
    {
        juce::MemoryBlock blob;

        {
            juce::MemoryOutputStream out (blob, false);
            out.write ("VC2!", 4);
            out.writeInt (lengthField);
            out.write (text, numBytes);
            out.writeByte (0);
        }

        return blob;
    }

    /** A blob around bytes that need not be valid UTF-8, with the length field they give. */
    inline juce::MemoryBlock forge (const juce::MemoryBlock& textBytes)
    {
        return forge (textBytes.getData(), textBytes.getSize(), (juce::int32) textBytes.getSize());
    }

    inline juce::MemoryBlock forge (const juce::String& text, juce::int32 lengthField)
    {
        return forge (text.toRawUTF8(), text.getNumBytesAsUTF8(), lengthField);
    }

    inline juce::MemoryBlock forge (const juce::String& text)
    {
        return forge (text, (juce::int32) text.getNumBytesAsUTF8());
    }

    inline juce::String param (const char* id, const char* value)
    {
        return juce::String ("<PARAM id=\"") + id + "\" value=\"" + value + "\"/>";
    }

    inline juce::String document (const juce::String& root, const juce::String& children)
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <" + root + ">" + children + "</" + root + ">";
    }

    inline float plain (ZurizazAudioProcessor& p, const char* id)
    {
        return p.treeState.getRawParameterValue (id)->load();
    }
}
