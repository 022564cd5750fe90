#pragma once

#include <cstring>

#include <juce_core/juce_core.h>

/** The state blob a fresh Zurizaz has always saved, kept byte for byte: an instance that nobody
    has touched must go on saving exactly this, whichever format hosts it.

    It is the framework's binary XML: "VC2!", the text's length (little-endian), the text and a
    zero byte.
*/
namespace FreshStateBlob
{
    inline constexpr const char* text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <Zurizaz>"
        "<PARAM id=\"babyRadod1\" value=\"0.875\"/>"
        "<PARAM id=\"babyRadod2\" value=\"0.875\"/>"
        "<PARAM id=\"babyRadod3\" value=\"0.875\"/>"
        "<PARAM id=\"babyRadod4\" value=\"0.875\"/>"
        "<PARAM id=\"babyRadod5\" value=\"0.875\"/>"
        "<PARAM id=\"babyRadod6\" value=\"0.875\"/>"
        "<PARAM id=\"babyRadod7\" value=\"0.875\"/>"
        "<PARAM id=\"babyRadod8\" value=\"0.875\"/>"
        "<PARAM id=\"bite\" value=\"32.0\"/>"
        "<PARAM id=\"bypassOn\" value=\"0.0\"/>"
        "<PARAM id=\"depth\" value=\"0.199999988079071\"/>"
        "<PARAM id=\"feedback\" value=\"0.2999999821186066\"/>"
        "<PARAM id=\"fx\" value=\"1.0\"/>"
        "<PARAM id=\"impact\" value=\"1.0\"/>"
        "<PARAM id=\"knobsShowing\" value=\"0.0\"/>"
        "<PARAM id=\"phaserX\" value=\"0.0\"/>"
        "<PARAM id=\"presets\" value=\"2.0\"/>"
        "<PARAM id=\"rate\" value=\"3.499999761581421\"/>"
        "<PARAM id=\"speed\" value=\"2.0\"/>"
        "</Zurizaz>";

    inline juce::MemoryBlock bytes()
    {
        juce::MemoryBlock blob;

        {
            juce::MemoryOutputStream out (blob, false);
            out.write ("VC2!", 4);
            out.writeInt ((int) std::strlen (text));
            out.write (text, std::strlen (text));
            out.writeByte (0);
        }

        return blob;
    }
}
