#include "SavedState.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace
{
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

    /** JUCE's number reader gathers an exponent's digits into an int without a bound, so one too
        long for an int wraps: "2e4294967297" would read as 20, a value the session never held.
        A value whose exponent has more digits than an int holds is given the value it means
        before anything reads it: infinite for a huge exponent (the parameter's range takes it to
        its end), 0 for a tiny one or a mantissa of zero. The reader's own grammar is followed:
        blanks as it sees them, a sign, digits with at most one point, then 'e' or 'E', a sign and digits.
    */
    void giveOverlongExponentsTheirValue (juce::ValueTree& loaded)
    {
        constexpr size_t digitsAnIntAlwaysHolds = 9;

        for (auto child : loaded)
        {
            if (! child.hasProperty ("value"))
                continue;

            const auto value = child["value"].toString();
            const auto text = juce::String (value.getCharPointer().findEndOfWhitespace()).toStdString();
            size_t i = 0;

            if (text.empty())
                continue;

            const bool negative = text[i] == '-';

            if (text[i] == '-' || text[i] == '+')
                ++i;

            bool anyDigit = false, nonZero = false, point = false;

            for (; i < text.size(); ++i)
            {
                if (text[i] >= '0' && text[i] <= '9')
                {
                    anyDigit = true;
                    nonZero = nonZero || text[i] != '0';
                }
                else if (text[i] == '.' && ! point)
                {
                    point = true;
                }
                else
                {
                    break;
                }
            }

            if (! anyDigit || i >= text.size() || (text[i] != 'e' && text[i] != 'E'))
                continue;

            ++i;
            const bool tinyExponent = i < text.size() && text[i] == '-';

            if (i < text.size() && (text[i] == '-' || text[i] == '+'))
                ++i;

            while (i < text.size() && text[i] == '0')
                ++i;

            size_t exponentDigits = 0;

            while (i + exponentDigits < text.size() && text[i + exponentDigits] >= '0' && text[i + exponentDigits] <= '9')
                ++exponentDigits;

            if (exponentDigits <= digitsAnIntAlwaysHolds)
                continue;

            const auto infinite = std::numeric_limits<double>::infinity();
            const auto meaning = (tinyExponent || ! nonZero) ? 0.0 : (negative ? -infinite : infinite);
            child.setProperty ("value", meaning, nullptr);
        }
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

    /** JUCE's XML reader takes tag and attribute names by a looser rule (a digit, '-' or '.'
        first, some non-ASCII letters) than the XmlElement that writes a tree, which asserts on
        them. Our saves never hold one, and such a tree could not be written back.
    */
    bool namesAreValidXml (const juce::ValueTree& tree)
    {
        if (! juce::XmlElement::isValidXmlName (tree.getType().toString()))
            return false;

        for (int i = 0; i < tree.getNumProperties(); ++i)
            if (! juce::XmlElement::isValidXmlName (tree.getPropertyName (i).toString()))
                return false;

        for (const auto& child : tree)
            if (! namesAreValidXml (child))
                return false;

        return true;
    }

    /** A ValueTree has no text, and JUCE asserts when asked to make one from text in the XML:
        stray text between the elements of a damaged save is left out before that, as it would
        be anyway. */
    void removeTextElements (juce::XmlElement& xml)
    {
        xml.deleteAllTextElements();

        for (auto* child : xml.getChildIterator())
            removeTextElements (*child);
    }

    /** JUCE's XML reader takes some damaged texts that its writer then writes back in a form
        the reader refuses (an overlong UTF-8 sequence in a tag name, for one), or differently
        (an attribute name twice in one element: the parameter takes the first value, the save
        writes the last). The session saved after such a restore would not hold what plays, or
        would not load at all. A tree that does not come back whole from its own text is dropped.
    */
    bool comesBackFromItsOwnText (const juce::ValueTree& tree)
    {
        if (! namesAreValidXml (tree))
            return false;

        const auto written = tree.createXml();

        if (written == nullptr)
            return false;

        const auto reread = juce::parseXML (written->toString (juce::XmlElement::TextFormat().singleLine()));
        return reread != nullptr && juce::ValueTree::fromXml (*reread).isEquivalentTo (tree);
    }
}

//==============================================================================
namespace SavedState
{
    std::optional<juce::ValueTree> readTree (const void* data, int sizeInBytes, const juce::Identifier& type)
    {
        if (! textIsSafeToRead (textOfBlob (data, sizeInBytes)))
            return {};

        auto xml = juce::AudioProcessor::getXmlFromBinary (data, sizeInBytes);

        if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase (type.toString()))
            return {};

        removeTextElements (*xml);
        auto loaded = juce::ValueTree::fromXml (*xml);

        if (! comesBackFromItsOwnText (loaded))
            return {};

        giveOverlongExponentsTheirValue (loaded);
        dropValuesThatAreNotNumbers (loaded);
        return loaded;
    }

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
}
