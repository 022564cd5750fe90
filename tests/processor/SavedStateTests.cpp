#include <limits>

#include <gtest/gtest.h>

#include "EditorSession.h"
#include "FreshStateBlob.h"
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
            setPlain (p, ParameterIds::speed, 1.0f);
            setPlain (p, ParameterIds::bite, 10.0f);
            setPlain (p, ParameterIds::handleHeights[3], 0.5f);
            p.setPresetFromEditor (4);
            p.setBypassFromEditor (true);
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

    // Elements in ID order; the editor's values start at preset 1 (stored as 2) and heights of 350.
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

TEST (SavedState, AnUntouchedProcessorSavesTheBlobAFreshOneHasAlwaysSaved)
{
    EditorSession session;
    auto& p = session.processor;
    EXPECT_EQ (save (p), FreshStateBlob::bytes());

    // Played, re-prepared and looked at, but nothing changed.
    p.setRateAndBufferSizeDetails (44100.0, 512);
    p.prepareToPlay (44100.0, 512);
    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;
    for (int block = 0; block < 100; ++block)
    {
        buffer.clear();
        p.processBlock (buffer, midi);
    }
    p.prepareToPlay (96000.0, 256);

    session.open();
    juce::Image canvas (juce::Image::ARGB, 800, 477, true);
    juce::Graphics g (canvas);
    session.ui().paintEntireComponent (g, true);
    session.close();
    runPendingMessages();

    EXPECT_EQ (save (p), FreshStateBlob::bytes());
}

TEST (SavedState, SavingReplacesTheWholeDestination)
{
    ZurizazAudioProcessor p;
    juce::MemoryBlock blob (100000, true);
    p.getStateInformation (blob);

    EXPECT_EQ (lengthField (blob), blob.getSize() - 9);
    EXPECT_EQ (blob, save (p));
}

TEST (SavedState, SavingTellsTheHostNothingAndChangesNoValue)
{
    struct Recorder : public juce::AudioProcessorListener
    {
        void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override { events.add ("set " + juce::String (index)); }
        void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
        void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { events.add ("begin " + juce::String (index)); }
        void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override { events.add ("end " + juce::String (index)); }

        juce::StringArray events;
    };

    // Values off the grid a save once rounded them to: nothing may move them now.
    ProcessorWithState source;
    auto& p = source.p;
    p.setHandleHeightFromEditor (2, 101);
    p.setKnobsShowingFromEditor (true);
    const auto before = p.treeState.copyState().toXmlString();

    Recorder recorder;
    p.addListener (&recorder);
    const auto first = save (p);
    const auto second = save (p);
    p.removeListener (&recorder);

    EXPECT_EQ (recorder.events, juce::StringArray());
    EXPECT_EQ (first, second);
    EXPECT_EQ (p.treeState.copyState().toXmlString(), before);
    EXPECT_EQ (p.handleHeight[2].load(), 101.0f);
    EXPECT_EQ (p.currentPreset.load(), 4);
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

    struct Case
    {
        const char* name;
        juce::MemoryBlock blob;
    };
    const Case cases[] = {
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
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        ProcessorWithState target;
        setPlain (target.p, ParameterIds::speed, 3.0f);
        const auto before = target.p.treeState.copyState().toXmlString();

        target.p.setStateInformation (c.blob.getData(), (int) c.blob.getSize());

        EXPECT_EQ (target.p.treeState.copyState().toXmlString(), before);
        EXPECT_EQ (plain (target.p, ParameterIds::speed), 3.0f);
    }
}

TEST (SavedState, ALengthBeyondTheDataParsesTheBytesPresent)
{
    ZurizazAudioProcessor p;
    const auto text = document ("Zurizaz", param ("speed", "3.0") + param ("bite", "4.0"));

    restore (p, forge (text, text.getNumBytesAsUTF8() + 5000));

    EXPECT_EQ (plain (p, ParameterIds::speed), 3.0f);
    EXPECT_EQ (plain (p, ParameterIds::bite), 4.0f);
}

TEST (SavedState, ARootInCapitalsIsAcceptedAndWrittenBackInCapitals)
{
    ZurizazAudioProcessor p;
    restore (p, forge (document ("ZURIZAZ", param ("speed", "3.0"))));

    EXPECT_EQ (plain (p, ParameterIds::speed), 3.0f);

    const auto text = savedText (p);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <ZURIZAZ>")) << text;
    EXPECT_TRUE (text.endsWith ("</ZURIZAZ>")) << text;

    // The tree keeps its new type: a later blob in the original spelling still loads.
    restore (p, forge (document ("Zurizaz", param ("speed", "1.0"))));
    EXPECT_EQ (plain (p, ParameterIds::speed), 1.0f);
}

TEST (SavedState, AParameterMissingFromTheBlobKeepsItsValueAndIsAppendedOnTheNextSave)
{
    ProcessorWithState source;
    auto xml = juce::parseXML (textOf (save (source.p)));
    ASSERT_NE (xml, nullptr);
    xml->removeChildElement (xml->getChildByAttribute ("id", ParameterIds::bite), true);

    juce::MemoryBlock withoutBite;
    juce::AudioProcessor::copyXmlToBinary (*xml, withoutBite);

    ZurizazAudioProcessor p;
    setPlain (p, ParameterIds::bite, 20.0f);
    restore (p, withoutBite);

    EXPECT_EQ (plain (p, ParameterIds::bite), 20.0f);
    EXPECT_EQ (plain (p, ParameterIds::speed), 1.0f);

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
    struct Case
    {
        const char* id;
        const char* text;
        float plain;
    };
    const Case cases[] = {
        { ParameterIds::speed, "7.0", 3.0f },
        { ParameterIds::speed, "-2.0", 1.0f },
        { ParameterIds::bite, "1000.0", 32.0f },
        { ParameterIds::presets, "40.0", 13.0f },
        { ParameterIds::presets, "0.0", 1.0f },
        { ParameterIds::bypassOn, "5.0", 1.0f },
        { ParameterIds::handleHeights[1], "3.0", 1.0f },
        { ParameterIds::handleHeights[1], "0.0", 0.01f },
        { ParameterIds::impact, "0.5049", 0.5f },
        // Exponents too long for an int mean what they say, though a wrapped int would read them
        // as 2 (for 2^32) and 0.5: the range's end, and 0 for a tiny one.
        { ParameterIds::speed, "2e4294967296", 3.0f },
        { ParameterIds::speed, "-2e4294967296", 1.0f },
        { ParameterIds::speed, " 2E+004294967296", 3.0f },
        { ParameterIds::depth, "0.5e-4294967296", 0.0f },
        { ParameterIds::depth, "0e4294967296", 0.0f },
        { ParameterIds::feedback, "2.e99999999999999999", 0.6f },
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
        setPlain (p, ParameterIds::impact, 0.5f);
        restore (p, forge (document ("Zurizaz", param ("impact", text) + param ("speed", "3.0"))));

        EXPECT_EQ (plain (p, ParameterIds::impact), 1.0f);
        EXPECT_EQ (plain (p, ParameterIds::speed), 3.0f);
        EXPECT_TRUE (savedText (p).contains (param ("impact", "1.0")));
    }
}

TEST (SavedState, TextsThatJuceWouldMisreadChangeNothing)
{
    // Each sets speed to 3 among its damage; the restore must drop the whole blob.
    const auto withBytes = [] (const juce::String& before, std::initializer_list<int> bytes, const juce::String& after)
    {
        juce::MemoryOutputStream text;
        text << before;

        for (auto b : bytes)
            text.writeByte ((char) b);

        text << after;
        return forge (text.getMemoryBlock());
    };

    const auto speedAndBite = "<Zurizaz>" + param ("speed", "3.0") + "<PARAM id=\"bite\" value=\"4.0\"/>";

    struct Case
    {
        const char* name;
        juce::MemoryBlock blob;
    };
    const Case cases[] = {
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

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        ZurizazAudioProcessor p;
        const auto before = save (p);
        restore (p, c.blob);
        EXPECT_EQ (plain (p, ParameterIds::speed), 2.0f);
        EXPECT_EQ (plain (p, ParameterIds::bite), 32.0f);
        EXPECT_EQ (save (p), before);
    }
}

TEST (SavedState, WhitespaceBeforeTheDeclarationIsAccepted)
{
    for (const juce::String space : { " ", "\n" })
    {
        SCOPED_TRACE (space.quoted());
        ZurizazAudioProcessor p;
        restore (p, forge (space + document ("Zurizaz", param ("speed", "3.0"))));
        EXPECT_EQ (plain (p, ParameterIds::speed), 3.0f);
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

TEST (SavedState, ARestoreReachesTheMembersAtOnceAndTheNextSaveHoldsIt)
{
    ZurizazAudioProcessor source;
    source.setBypassFromEditor (true);
    source.setKnobsShowingFromEditor (true);
    source.setPresetFromEditor (7);
    for (int k = 0; k < ZurizazAudioProcessor::numSteps; ++k)
        source.setHandleHeightFromEditor (k, 120 + k);
    const auto blob = save (source);

    // Restored before and after a prepare, as hosts do it either way.
    for (auto prepareFirst : { true, false })
    {
        SCOPED_TRACE (prepareFirst ? "prepared, then restored" : "restored before any prepare");
        ZurizazAudioProcessor p;
        p.setPresetFromEditor (3);

        if (prepareFirst)
            p.prepareToPlay (44100.0, 512);

        restore (p, blob);

        EXPECT_TRUE (p.bypassOn);
        EXPECT_TRUE (p.knobsShowing);
        EXPECT_EQ (p.currentPreset, 7);

        // 120..127 lie in the 0.3 band.
        for (int k = 0; k < ZurizazAudioProcessor::numSteps; ++k)
        {
            EXPECT_EQ (p.handleHeight[(size_t) k].load(), (float) (120 + k));
            EXPECT_EQ (p.stepGain[(size_t) k].load(), 0.3f);
        }

        // Saved with no prepare in between, the session is what was restored.
        EXPECT_EQ (save (p), blob);

        p.prepareToPlay (48000.0, 512);
        EXPECT_TRUE (p.bypassOn);
        EXPECT_EQ (p.currentPreset, 7);
        EXPECT_EQ (p.handleHeight[7].load(), 127.0f);
        EXPECT_EQ (save (p), blob);
    }
}
