// Writes the state fuzzer's seed corpus: blobs saved from a few real states, and damaged copies of
// the default one. Deterministic, so the committed corpus can be regenerated and compared:
//   build/tests/fuzz/ZurizazMakeStateCorpus tests/fuzz/corpus

#include <iostream>

#include "state/ParameterLayout.h"
#include "Parameters.h"
#include "processor/PluginProcessor.h"

namespace
{
    juce::MemoryBlock saveOf (ZurizazAudioProcessor& processor)
    {
        juce::MemoryBlock blob;
        processor.getStateInformation (blob);
        return blob;
    }

    juce::MemoryBlock defaultState()
    {
        ZurizazAudioProcessor processor;
        return saveOf (processor);
    }

    juce::MemoryBlock editedState()
    {
        ZurizazAudioProcessor processor;
        setPlain (processor, ParameterIds::fx, 2.0f);
        setPlain (processor, ParameterIds::speed, 3.0f);
        setPlain (processor, ParameterIds::impact, 0.5f);
        setPlain (processor, ParameterIds::bite, 8.0f);
        processor.bypassOn = true;
        processor.knobsShowing = true;
        processor.currentPreset = 7;

        const float heights[] = { 82.0f, 100.0f, 150.0f, 200.0f, 250.0f, 300.0f, 350.0f, 83.0f };
        for (size_t k = 0; k < std::size (heights); ++k)
            processor.handleHeight[k] = heights[k];

        return saveOf (processor);
    }

    juce::MemoryBlock stateWithAllParametersAt (float normalisedValue, int preset)
    {
        ZurizazAudioProcessor processor;
        for (auto* parameter : processor.getParameters())
            parameter->setValueNotifyingHost (normalisedValue);

        processor.currentPreset = preset;
        return saveOf (processor);
    }

    juce::MemoryBlock savedAfterRestoring (const juce::MemoryBlock& blob)
    {
        ZurizazAudioProcessor processor;
        processor.setStateInformation (blob.getData(), (int) blob.getSize());
        return saveOf (processor);
    }

    //==============================================================================
    juce::String textOf (const juce::MemoryBlock& blob)
    {
        const auto* bytes = static_cast<const char*> (blob.getData());
        return juce::String::fromUTF8 (bytes + 8, (int) blob.getSize() - 9);
    }

    /** A blob around the given text: "VC2!", the length (the text's own unless overridden), the text, a zero. */
    juce::MemoryBlock blobOf (const juce::String& text, juce::int64 lengthField = -1)
    {
        const auto utf8 = text.toUTF8();
        const auto length = (juce::uint32) (lengthField >= 0 ? lengthField : (juce::int64) utf8.sizeInBytes() - 1);

        juce::MemoryOutputStream out;
        out.writeInt (0x21324356);
        out.writeInt ((int) length);
        out.write (utf8.getAddress(), utf8.sizeInBytes() - 1);
        out.writeByte (0);
        return out.getMemoryBlock();
    }

    juce::MemoryBlock withLengthField (const juce::MemoryBlock& blob, juce::uint32 length)
    {
        auto copy = blob;
        auto* bytes = static_cast<juce::uint8*> (copy.getData());
        for (int i = 0; i < 4; ++i)
            bytes[4 + i] = (juce::uint8) (length >> (8 * i));
        return copy;
    }

    juce::MemoryBlock truncated (const juce::MemoryBlock& blob, size_t size)
    {
        return { blob.getData(), std::min (size, blob.getSize()) };
    }

    juce::MemoryBlock withByte (const juce::MemoryBlock& blob, size_t index, juce::uint8 value)
    {
        auto copy = blob;
        static_cast<juce::uint8*> (copy.getData())[index] = value;
        return copy;
    }

    juce::String withValue (const juce::String& text, const juce::String& id, const juce::String& newValueAttribute)
    {
        const auto start = text.indexOf ("<PARAM id=\"" + id + "\"");
        const auto end = text.indexOf (start, "/>");
        return text.substring (0, start) + "<PARAM id=\"" + id + "\" " + newValueAttribute + text.substring (end);
    }

    juce::String withoutParameter (const juce::String& text, const juce::String& id)
    {
        const auto start = text.indexOf ("<PARAM id=\"" + id + "\"");
        const auto end = text.indexOf (start, "/>") + 2;
        return text.substring (0, start) + text.substring (end);
    }

    juce::String nested (int depth)
    {
        juce::String open, close;
        for (int i = 0; i < depth; ++i)
        {
            open << "<PARAM id=\"bite\">";
            close = "</PARAM>" + close;
        }
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <Zurizaz>" + open + close + "</Zurizaz>";
    }
}

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: " << argv[0] << " <corpus directory>\n";
        return 2;
    }

    juce::ScopedJuceInitialiser_GUI juce;
    const juce::File directory (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    directory.createDirectory();

    const auto defaults = defaultState();
    const auto edited = editedState();
    const auto text = textOf (defaults);
    const auto size = defaults.getSize();
    const auto length = (juce::uint32) size - 9;

    const std::vector<std::pair<const char*, juce::MemoryBlock>> seeds {
        // Saved from real states.
        { "valid-default", defaults },
        { "valid-edited", edited },
        { "valid-all-maximum", stateWithAllParametersAt (1.0f, 12) },
        { "valid-all-minimum", stateWithAllParametersAt (0.0f, 0) },
        { "valid-resaved-after-restore", savedAfterRestoring (edited) },

        // Damaged framing.
        { "frame-header-only", truncated (defaults, 8) },
        { "frame-nine-bytes", truncated (defaults, 9) },
        { "frame-cut-in-half", truncated (defaults, size / 2) },
        { "frame-no-final-zero", truncated (defaults, size - 1) },
        { "frame-magic-first-byte", withByte (defaults, 0, 'v') },
        { "frame-magic-last-byte", withByte (defaults, 3, '?') },
        { "frame-length-zero", withLengthField (defaults, 0) },
        { "frame-length-negative", withLengthField (defaults, 0xffffffffu) },
        { "frame-length-huge", withLengthField (defaults, 0x7fffffffu) },
        { "frame-length-beyond-data", withLengthField (defaults, length + 1000) },
        { "frame-length-cuts-text", withLengthField (defaults, length / 2) },
        { "frame-zero-inside-text", withByte (defaults, 8 + (size_t) length / 2, 0) },

        // Damaged text.
        { "text-not-xml", blobOf ("Zurizaz: not a state at all") },
        { "text-empty-root", blobOf ("<Zurizaz/>") },
        { "text-unclosed-root", blobOf (text.upToLastOccurrenceOf ("</Zurizaz>", false, false)) },
        { "text-other-root", blobOf (text.replace ("Zurizaz", "Zurizax")) },
        { "text-root-in-capitals", blobOf (text.replace ("Zurizaz", "ZURIZAZ")) },
        { "text-without-bite", blobOf (withoutParameter (text, ParameterIds::bite)) },
        { "text-speed-out-of-range", blobOf (withValue (text, ParameterIds::speed, "value=\"7.0\"")) },
        { "text-impact-below-range", blobOf (withValue (text, ParameterIds::impact, "value=\"-3.0\"")) },
        { "text-fx-not-a-number", blobOf (withValue (text, ParameterIds::fx, "value=\"nan\"")) },
        { "text-rate-infinite", blobOf (withValue (text, ParameterIds::rate, "value=\"inf\"")) },
        { "text-feedback-minus-infinite", blobOf (withValue (text, ParameterIds::feedback, "value=\"-inf\"")) },
        { "text-rate-huge-exponent", blobOf (withValue (text, ParameterIds::rate, "value=\"3.5e999761581421\"")) },
        { "text-bite-huge", blobOf (withValue (text, ParameterIds::bite, "value=\"1e39\"")) },
        { "text-depth-words", blobOf (withValue (text, ParameterIds::depth, "value=\"deep\"")) },
        { "text-presets-empty-value", blobOf (withValue (text, ParameterIds::presets, "value=\"\"")) },
        { "text-phaser-without-value", blobOf (withValue (text, ParameterIds::phaserX, "")) },
        { "text-unknown-parameter", blobOf (text.replace ("</Zurizaz>", "<PARAM id=\"nothing\" value=\"3.0\"/></Zurizaz>")) },
        { "text-duplicate-bite", blobOf (text.replace ("</Zurizaz>", "<PARAM id=\"bite\" value=\"4.0\"/></Zurizaz>")) },
        { "text-deeply-nested", blobOf (nested (500)) },
        { "text-doctype-and-entity", blobOf ("<?xml version=\"1.0\"?><!DOCTYPE Zurizaz [<!ENTITY e \"7.0\">]>"
                                             "<Zurizaz><PARAM id=\"speed\" value=\"&e;\"/></Zurizaz>") },
        { "text-processing-instruction", blobOf (text.replace ("</Zurizaz>", "<?p?>x</Zurizaz>")) },
        { "text-cdata-and-comment", blobOf ("<Zurizaz><!-- c --><![CDATA[<PARAM id=\"fx\" value=\"5\"/>]]>"
                                            "<PARAM id=\"fx\" value=\"&#53;\"/></Zurizaz>") },
        { "text-overlong-utf8-tag", withByte (withByte (blobOf ("<Zurizaz><AB/></Zurizaz>"), 18, 0xc0), 19, 0xb2) },
        { "text-invalid-utf8", withByte (defaults, 8 + (size_t) text.indexOf ("<Zurizaz>") + 2, 0xff) },
    };

    for (const auto& [name, blob] : seeds)
    {
        if (! directory.getChildFile (name).replaceWithData (blob.getData(), blob.getSize()))
        {
            std::cerr << "cannot write " << name << "\n";
            return 1;
        }
    }

    std::cout << seeds.size() << " seeds written to " << directory.getFullPathName() << "\n";
    return 0;
}
