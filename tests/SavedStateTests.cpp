#include <limits>

#include <gtest/gtest.h>

#include "SavedStateBlobs.h"

using namespace StateBlobs;

namespace
{
    juce::uint8 byteAt (const juce::MemoryBlock& blob, size_t index)
    {
        return static_cast<const juce::uint8*> (blob.getData())[index];
    }

    juce::uint32 lengthField (const juce::MemoryBlock& blob)
    {
        return juce::ByteOrder::littleEndianInt (static_cast<const char*> (blob.getData()) + 4);
    }

    /** A processor moved away from its defaults, so that a restore that takes hold shows. */
    struct ProcessorWithState
    {
        ProcessorWithState()
        {
            setPlain (p, "speed", 1.0f);
            setPlain (p, "bite", 10.0f);
            setPlain (p, "babyRadod4", 0.5f);
            p.currentPreset = 4;
            p.bypassOn = true;
        }

        ZurizazAudioProcessor p;
    };
}

//==============================================================================
TEST (SavedState, AFreshProcessorWritesTheParameterTreeAsOneLineOfXmlInTheBinaryForm)
{
    ZurizazAudioProcessor p;
    const auto blob = save (p);

    ASSERT_GT (blob.getSize(), 9u);
    EXPECT_EQ (byteAt (blob, 0), 0x56);
    EXPECT_EQ (byteAt (blob, 1), 0x43);
    EXPECT_EQ (byteAt (blob, 2), 0x32);
    EXPECT_EQ (byteAt (blob, 3), 0x21);
    EXPECT_EQ (lengthField (blob), blob.getSize() - 9);
    EXPECT_EQ (byteAt (blob, blob.getSize() - 1), 0);

    // Elements in ID order; the carriers hold what the fresh members pushed (preset 1, heights 350).
    const auto expected = document ("Zurizaz",
                                    param ("babyRadod1", "0.875") + param ("babyRadod2", "0.875")
                                  + param ("babyRadod3", "0.875") + param ("babyRadod4", "0.875")
                                  + param ("babyRadod5", "0.875") + param ("babyRadod6", "0.875")
                                  + param ("babyRadod7", "0.875") + param ("babyRadod8", "0.875")
                                  + param ("bite", "32.0")
                                  + param ("bypassOn", "0.0")
                                  + param ("depth", "0.199999988079071")
                                  + param ("feedback", "0.2999999821186066")
                                  + param ("fx", "1.0")
                                  + param ("impact", "1.0")
                                  + param ("knobsShowing", "0.0")
                                  + param ("phaserX", "0.0")
                                  + param ("presets", "2.0")
                                  + param ("rate", "3.499999761581421")
                                  + param ("speed", "2.0"));

    EXPECT_EQ (textOf (blob), expected);
    EXPECT_EQ (std::memchr (static_cast<const char*> (blob.getData()) + 8, 0, blob.getSize() - 9), nullptr);
}

TEST (SavedState, SavingReplacesTheWholeDestination)
{
    ZurizazAudioProcessor p;
    juce::MemoryBlock blob (100000, true);
    p.getStateInformation (blob);

    EXPECT_EQ (lengthField (blob), blob.getSize() - 9);
    EXPECT_EQ (blob, save (p));
}

TEST (SavedState, EachSaveReportsOneCompleteChangeGesturePerCarrier)
{
    struct Recorder  : public juce::AudioProcessorListener
    {
        void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override    { events.add ("set " + juce::String (index)); }
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override         {}
        void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { events.add ("begin " + juce::String (index)); }
        void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override   { events.add ("end " + juce::String (index)); }

        juce::StringArray events;
    };

    // bypassOn, knobsShowing, presets, then babyRadod1..8.
    juce::StringArray expected;
    for (int index = 8; index <= 18; ++index)
        expected.addArray ({ "begin " + juce::String (index), "set " + juce::String (index), "end " + juce::String (index) });

    ZurizazAudioProcessor p;
    Recorder recorder;
    p.addListener (&recorder);

    // The second save changes no value and still reports every gesture.
    for (int round = 0; round < 2; ++round)
    {
        SCOPED_TRACE (round);
        recorder.events.clear();
        save (p);
        EXPECT_EQ (recorder.events, expected);
    }

    p.removeListener (&recorder);
}

//==============================================================================
TEST (SavedState, BlobsThatAreNotOursChangeNothing)
{
    ProcessorWithState source;
    const auto good = save (source.p);
    const auto goodText = textOf (good);

    auto withByte = [&good] (size_t index, juce::uint8 value)
    {
        auto blob = good;
        static_cast<juce::uint8*> (blob.getData())[index] = value;
        return blob;
    };

    struct Case { const char* name; juce::MemoryBlock blob; };
    const Case cases[] = {
        { "empty",                    juce::MemoryBlock() },
        { "8 bytes",                  juce::MemoryBlock (good.getData(), 8) },
        { "magic byte 0",             withByte (0, 'v') },
        { "magic byte 1",             withByte (1, 'c') },
        { "magic byte 2",             withByte (2, '3') },
        { "magic byte 3",             withByte (3, '?') },
        { "length 0",                 forge (goodText, 0) },
        { "length -1",                forge (goodText, -1) },
        { "most negative length",     forge (goodText, std::numeric_limits<juce::int32>::min()) },
        { "empty text",               forge ({}, 10) },
        { "not XML",                  forge ("speed = 3, bite = 2") },
        { "cut inside an element",    forge (goodText.substring (0, goodText.indexOf ("bite") + 6)) },
        { "another root",             forge (goodText.replace ("Zurizaz", "Zurizax")) },
        { "root name prefix",         forge (goodText.replace ("Zurizaz", "Zuri")) },
        { "text cut by the length",   forge (goodText, goodText.getNumBytesAsUTF8() - 12) },
        { "length beyond a cut text", forge (goodText.substring (0, 200), 100000) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        ProcessorWithState target;
        setPlain (target.p, "speed", 3.0f);
        const auto before = target.p.treeState.copyState().toXmlString();

        target.p.setStateInformation (c.blob.getData(), (int) c.blob.getSize());

        EXPECT_EQ (target.p.treeState.copyState().toXmlString(), before);
        EXPECT_EQ (plain (target.p, "speed"), 3.0f);
    }
}

TEST (SavedState, ALengthBeyondTheDataParsesTheBytesPresent)
{
    ZurizazAudioProcessor p;
    const auto text = document ("Zurizaz", param ("speed", "3.0") + param ("bite", "4.0"));

    restore (p, forge (text, text.getNumBytesAsUTF8() + 5000));

    EXPECT_EQ (plain (p, "speed"), 3.0f);
    EXPECT_EQ (plain (p, "bite"), 4.0f);
}

TEST (SavedState, ARootInCapitalsIsAcceptedAndWrittenBackInCapitals)
{
    ZurizazAudioProcessor p;
    restore (p, forge (document ("ZURIZAZ", param ("speed", "3.0"))));

    EXPECT_EQ (plain (p, "speed"), 3.0f);

    const auto text = savedText (p);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <ZURIZAZ>")) << text;
    EXPECT_TRUE (text.endsWith ("</ZURIZAZ>")) << text;

    // The tree keeps its new type: a later blob in the original spelling still loads.
    restore (p, forge (document ("Zurizaz", param ("speed", "1.0"))));
    EXPECT_EQ (plain (p, "speed"), 1.0f);
}

TEST (SavedState, AParameterMissingFromTheBlobKeepsItsValueAndIsAppendedOnTheNextSave)
{
    ProcessorWithState source;
    auto xml = juce::parseXML (textOf (save (source.p)));
    ASSERT_NE (xml, nullptr);
    xml->removeChildElement (xml->getChildByAttribute ("id", "bite"), true);

    juce::MemoryBlock withoutBite;
    juce::AudioProcessor::copyXmlToBinary (*xml, withoutBite);

    ZurizazAudioProcessor p;
    setPlain (p, "bite", 20.0f);
    restore (p, withoutBite);

    EXPECT_EQ (plain (p, "bite"), 20.0f);
    EXPECT_EQ (plain (p, "speed"), 1.0f);

    auto saved = juce::parseXML (savedText (p));
    ASSERT_NE (saved, nullptr);
    ASSERT_EQ (saved->getNumChildElements(), 19);
    EXPECT_EQ (saved->getChildElement (18)->getStringAttribute ("id"), "bite");
    EXPECT_EQ (saved->getChildElement (18)->getStringAttribute ("value"), "20.0");
    EXPECT_EQ (saved->getChildElement (0)->getStringAttribute ("id"), "babyRadod1");
    EXPECT_EQ (saved->getChildElement (17)->getStringAttribute ("id"), "speed");
}

TEST (SavedState, RestoredValuesAreClampedAndSnappedIntoTheirRanges)
{
    struct Case { const char* id; const char* text; float plain; };
    const Case cases[] = {
        { "speed",      "7.0",    3.0f },
        { "speed",      "-2.0",   1.0f },
        { "bite",       "1000.0", 32.0f },
        { "presets",    "40.0",   13.0f },
        { "presets",    "0.0",    1.0f },
        { "bypassOn",   "5.0",    1.0f },
        { "babyRadod2", "3.0",    1.0f },
        { "babyRadod2", "0.0",    0.01f },
        { "impact",     "0.5049", 0.5f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.id) + " " + c.text);
        ZurizazAudioProcessor p;
        restore (p, forge (document ("Zurizaz", param (c.id, c.text))));
        EXPECT_FLOAT_EQ (plain (p, c.id), c.plain);
    }
}

TEST (SavedState, AValueThatIsNotANumberRestoresTheDefaultInsteadOfReachingTheAudio)
{
    for (const auto* text : { "nan", "NaN", "-nan", " nan" })
    {
        SCOPED_TRACE (text);
        ZurizazAudioProcessor p;
        setPlain (p, "impact", 0.5f);
        restore (p, forge (document ("Zurizaz", param ("impact", text) + param ("speed", "3.0"))));

        EXPECT_EQ (plain (p, "impact"), 1.0f);
        EXPECT_EQ (plain (p, "speed"), 3.0f);
        EXPECT_TRUE (savedText (p).contains (param ("impact", "1.0")));
    }
}

TEST (SavedState, ATextThatIsNotValidUtf8ChangesNothing)
{
    // Cut in the middle of a three-byte sequence, and a stray continuation byte: the XML reader
    // must never see either (it would read past the end of the text).
    for (const auto* damage : { "\xe7\xe7", "\x9b" })
    {
        SCOPED_TRACE (juce::String::toHexString (damage, (int) std::strlen (damage)));
        ZurizazAudioProcessor p;
        const auto before = save (p);

        juce::MemoryOutputStream text;
        text << "<Zurizaz>" << param ("speed", "3.0") << "<PARAM id=\"bite\" value=\"4.0\"/>";
        text.write (damage, std::strlen (damage));

        restore (p, forge (text.getMemoryBlock()));
        EXPECT_EQ (plain (p, "speed"), 2.0f);
        EXPECT_EQ (save (p), before);
    }
}

TEST (SavedState, AnElementThatRepeatsAnAttributeMakesTheBlobChangeNothing)
{
    // Otherwise "speed" would play the first value and the next save would write the second.
    ZurizazAudioProcessor p;
    const auto before = save (p);
    restore (p, forge (document ("Zurizaz", "<PARAM id=\"speed\" value=\"3.0\" value=\"1.0\"/>" + param ("bite", "4.0"))));

    EXPECT_EQ (plain (p, "speed"), 2.0f);
    EXPECT_EQ (plain (p, "bite"), 32.0f);
    EXPECT_EQ (save (p), before);
}

TEST (SavedState, ATreeThatWouldNotComeBackFromItsOwnSaveChangesNothing)
{
    // A tag spelt with an overlong UTF-8 sequence: the reader takes it, but the save would write
    // a text that the reader refuses, and the next session would restore nothing at all.
    ZurizazAudioProcessor p;
    const auto before = save (p);

    juce::MemoryOutputStream text;
    text << "<Zurizaz>" << param ("speed", "3.0") << "<";
    text.writeByte ((char) 0xc0);
    text.writeByte ((char) 0xb2);
    text << "/></Zurizaz>";

    restore (p, forge (text.getMemoryBlock()));
    EXPECT_EQ (plain (p, "speed"), 2.0f);
    EXPECT_EQ (save (p), before);
}

TEST (SavedState, WhitespaceBeforeTheDeclarationIsAccepted)
{
    for (const juce::String space : { " ", "\n" })
    {
        SCOPED_TRACE (space.quoted());
        ZurizazAudioProcessor p;
        restore (p, forge (space + document ("Zurizaz", param ("speed", "3.0"))));
        EXPECT_EQ (plain (p, "speed"), 3.0f);
    }
}

TEST (SavedState, ProcessingInstructionsAndDocumentTypesInTheTextChangeNothing)
{
    // The first would leave JUCE's XML reader looping for ever, the second can expand into it.
    const juce::String texts[] = {
        document ("Zurizaz", param ("speed", "3.0") + "<?p?>x"),
        "\n" + document ("Zurizaz", param ("speed", "3.0") + "<?p?>x"),
        "<Zurizaz>" + param ("speed", "3.0") + "<?p?>x</Zurizaz>",
        "<?xml version=\"1.0\"?><!DOCTYPE Zurizaz [<!ENTITY e \"<?p?>x\">]><Zurizaz>" + param ("speed", "3.0") + "&e;</Zurizaz>",
    };

    for (const auto& text : texts)
    {
        SCOPED_TRACE (text);
        ZurizazAudioProcessor p;
        const auto before = save (p);
        restore (p, forge (text));
        EXPECT_EQ (plain (p, "speed"), 2.0f);
        EXPECT_EQ (save (p), before);
    }
}

TEST (SavedState, ElementsThatNameNoParameterSurviveLaterSaves)
{
    ZurizazAudioProcessor p;
    restore (p, forge (document ("Zurizaz", "<EXTRA note=\"kept\"/>" + param ("speed", "3.0") + param ("gone", "0.5"))));

    auto saved = juce::parseXML (savedText (p));
    ASSERT_NE (saved, nullptr);
    ASSERT_EQ (saved->getNumChildElements(), 21);
    EXPECT_EQ (saved->getChildElement (0)->getTagName(), "EXTRA");
    EXPECT_EQ (saved->getChildElement (0)->getStringAttribute ("note"), "kept");
    EXPECT_EQ (saved->getChildElement (2)->getStringAttribute ("id"), "gone");
    EXPECT_EQ (saved->getChildElement (2)->getStringAttribute ("value"), "0.5");
}

TEST (SavedState, RestoringWritesNoMemberUntilTheNextPrepare)
{
    ZurizazAudioProcessor source;
    source.bypassOn = true;
    source.knobsShowing = true;
    source.currentPreset = 7;
    for (auto& height : source.handleHeight)
        height = 120.0f;
    const auto blob = save (source);

    ZurizazAudioProcessor p;
    p.prepareToPlay (44100.0, 512);
    p.currentPreset = 3;
    for (auto& gain : p.stepGain)
        gain = 0.5f;

    restore (p, blob);

    EXPECT_EQ (plain (p, "bypassOn"), 1.0f);
    EXPECT_FALSE (p.bypassOn);
    EXPECT_FALSE (p.knobsShowing);
    EXPECT_EQ (p.currentPreset, 3);
    for (int k = 0; k < ZurizazAudioProcessor::numSteps; ++k)
    {
        EXPECT_EQ (p.handleHeight[(size_t) k].load(), 400.0f);
        EXPECT_EQ (p.stepGain[(size_t) k].load(), 0.5f);
    }

    p.prepareToPlay (44100.0, 512);

    EXPECT_TRUE (p.bypassOn);
    EXPECT_TRUE (p.knobsShowing);
    EXPECT_EQ (p.currentPreset, 7);
    EXPECT_EQ (p.handleHeight[0].load(), 120.0f);
}
