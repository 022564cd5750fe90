#include <limits>

#include <gtest/gtest.h>

#include "FreshStateBlob.h"
#include "SavedStateBlobs.h"
#include "state/SavedState.h"

using namespace StateBlobs;

namespace
{
    const juce::Identifier stateType ("Zurizaz");

    std::optional<juce::ValueTree> read (const juce::MemoryBlock& blob)
    {
        return SavedState::readTree (blob.getData(), (int) blob.getSize(), stateType);
    }

    /** A blob around text bytes that need not be valid UTF-8. */
    juce::MemoryBlock withBytes (const juce::String& before, std::initializer_list<int> bytes, const juce::String& after)
    {
        juce::MemoryOutputStream text;
        text << before;

        for (auto b : bytes)
            text.writeByte ((char) b);

        text << after;
        return forge (text.getMemoryBlock());
    }
}

//==============================================================================
TEST (SavedStateReader, BytesThatAreNotABlobOfOursOrThatJuceWouldMisreadGiveNoTree)
{
    const juce::String goodText (FreshStateBlob::text);
    const auto good = forge (goodText);

    auto withByte = [&good] (size_t index, juce::uint8 value)
    {
        auto blob = good;
        static_cast<juce::uint8*> (blob.getData())[index] = value;
        return blob;
    };

    const auto speedAndBite = "<Zurizaz>" + param ("speed", "3.0") + "<PARAM id=\"bite\" value=\"4.0\"/>";

    struct Case
    {
        const char* name;
        juce::MemoryBlock blob;
    };
    const Case cases[] = {
        // Not our blob.
        { "empty", juce::MemoryBlock() },
        { "8 bytes", juce::MemoryBlock (good.getData(), 8) },
        { "magic byte 0", withByte (0, 'v') },
        { "magic byte 1", withByte (1, 'c') },
        { "magic byte 2", withByte (2, '3') },
        { "magic byte 3", withByte (3, '?') },
        { "length 0", forge (goodText, 0) },
        { "length -1", forge (goodText, -1) },
        { "most negative length", forge (goodText, std::numeric_limits<juce::int32>::min()) },
        { "empty text", forge ({}, 10) },
        { "not XML", forge ("speed = 3, bite = 2") },
        { "cut inside an element", forge (goodText.substring (0, goodText.indexOf ("bite") + 6)) },
        { "another root", forge (goodText.replace ("Zurizaz", "Zurizax")) },
        { "root name prefix", forge (goodText.replace ("Zurizaz", "Zuri")) },
        { "text cut by the length", forge (goodText, goodText.getNumBytesAsUTF8() - 12) },
        { "length beyond a cut text", forge (goodText.substring (0, 200), 100000) },
        // The XML reader would read past the end of the text.
        { "cut inside a three-byte UTF-8 sequence", withBytes (speedAndBite, { 0xe7, 0xe7 }, {}) },
        { "a stray UTF-8 continuation byte", withBytes (speedAndBite, { 0x9b }, {}) },
        // Otherwise speed would play the first value and the next save would write the second.
        { "an attribute twice in one element",
          forge (document ("Zurizaz", "<PARAM id=\"speed\" value=\"3.0\" value=\"1.0\"/>" + param ("bite", "4.0"))) },
        // The reader takes a tag spelt with an overlong UTF-8 sequence, but the save would write a
        // text that it refuses, and the next session would restore nothing at all.
        { "a tag in overlong UTF-8", withBytes ("<Zurizaz>" + param ("speed", "3.0") + "<", { 0xc0, 0xb2 }, "/></Zurizaz>") },
        // The reader takes names that XML forbids, which the writer would refuse.
        { "an attribute name that starts with a digit",
          forge (document ("Zurizaz", "<PARAM id=\"speed\" value=\"3.0\" 1x=\"a\"/>" + param ("bite", "4.0"))) },
        { "a tag that starts with a dot", forge (document ("Zurizaz", param ("speed", "3.0") + "<.x/>")) },
        // A processing instruction in an element leaves the reader looping for ever; a document
        // type can expand into one.
        { "a processing instruction after the declaration", forge (document ("Zurizaz", param ("speed", "3.0") + "<?p?>x")) },
        { "a processing instruction after whitespace and the declaration",
          forge ("\n" + document ("Zurizaz", param ("speed", "3.0") + "<?p?>x")) },
        { "a processing instruction in the root", forge ("<Zurizaz>" + param ("speed", "3.0") + "<?p?>x</Zurizaz>") },
        { "a document type",
          forge ("<?xml version=\"1.0\"?><!DOCTYPE Zurizaz [<!ENTITY e \"<?p?>x\">]><Zurizaz>" + param ("speed", "3.0") + "&e;</Zurizaz>") },
    };

    ASSERT_TRUE (read (good).has_value());

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        EXPECT_FALSE (read (c.blob).has_value());
    }
}

TEST (SavedStateReader, AcceptedBlobsGiveTheTreeTheyHold)
{
    const auto speedAndBite = param ("speed", "3.0") + param ("bite", "4.0");
    const auto speedAndBiteTree = "<Zurizaz>" + speedAndBite + "</Zurizaz>";
    const auto text = document ("Zurizaz", speedAndBite);

    struct Case
    {
        const char* name;
        juce::MemoryBlock blob;
        juce::String tree;
    };
    const Case cases[] = {
        { "as saved", forge (text), speedAndBiteTree },
        { "a length beyond the data: the bytes present", forge (text, text.getNumBytesAsUTF8() + 5000), speedAndBiteTree },
        { "a space before the declaration", forge (" " + text), speedAndBiteTree },
        { "a line break before the declaration", forge ("\n" + text), speedAndBiteTree },
        { "no declaration", forge (speedAndBiteTree), speedAndBiteTree },
        { "stray text between the elements, left out",
          forge (document ("Zurizaz", "x" + param ("speed", "3.0") + " y " + param ("bite", "4.0") + "z")), speedAndBiteTree },
        { "the root in capitals, kept as written",
          forge (document ("ZURIZAZ", speedAndBite)), "<ZURIZAZ>" + speedAndBite + "</ZURIZAZ>" },
        { "elements that name no parameter, kept",
          forge (document ("Zurizaz", "<EXTRA note=\"kept\"/>" + param ("gone", "0.5"))),
          "<Zurizaz><EXTRA note=\"kept\"/>" + param ("gone", "0.5") + "</Zurizaz>" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto tree = read (c.blob);
        ASSERT_TRUE (tree.has_value());
        EXPECT_EQ (tree->toXmlString (juce::XmlElement::TextFormat().singleLine().withoutHeader()), c.tree);
    }
}

TEST (SavedStateReader, ValuesTheFrameworkWouldMisreadAreGivenWhatTheyMean)
{
    constexpr auto infinite = std::numeric_limits<double>::infinity();

    struct Case
    {
        const char* text;
        bool kept;   // false: the value is removed, and its parameter takes its default
        double value;
    };
    const Case cases[] = {
        { "0.5049", true, 0.5049 },
        { "2e3", true, 2000.0 },
        // Exponents too long for an int mean what they say, though a wrapped int would read them
        // as 2 (for 2^32) and 0.5: infinite, and 0 for a tiny one or a mantissa of zero.
        { "2e4294967296", true, infinite },
        { "-2e4294967296", true, -infinite },
        { " 2E+004294967296", true, infinite },
        { "0.5e-4294967296", true, 0.0 },
        { "0e4294967296", true, 0.0 },
        { "2.e99999999999999999", true, infinite },
        // A value that is not a number cannot be clamped into a range.
        { "nan", false, 0.0 },
        { "NaN", false, 0.0 },
        { "-nan", false, 0.0 },
        { " nan", false, 0.0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        const auto tree = read (forge (document ("Zurizaz", param ("impact", c.text) + param ("speed", "3.0"))));
        ASSERT_TRUE (tree.has_value());

        const auto impact = tree->getChild (0);
        EXPECT_EQ (impact["id"].toString(), "impact");
        ASSERT_EQ (impact.hasProperty ("value"), c.kept);

        if (c.kept)
        {
            EXPECT_DOUBLE_EQ ((double) impact["value"], c.value);
        }

        EXPECT_EQ (tree->getChild (1)["value"].toString(), "3.0");
    }
}
