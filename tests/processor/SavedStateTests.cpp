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
TEST (SavedState, ABlobTheReaderRefusesChangesNothing)
{
    // One of each kind the reader refuses (its own tests have them all): the frame, the root, the text.
    ProcessorWithState source;
    const auto goodText = textOf (save (source.p));

    struct Case
    {
        const char* name;
        juce::MemoryBlock blob;
    };
    const Case cases[] = {
        { "8 bytes", juce::MemoryBlock (save (source.p).getData(), 8) },
        { "another root", forge (goodText.replace ("Zurizaz", "Zurizax")) },
        { "a processing instruction in the root", forge ("<Zurizaz>" + param ("speed", "1.0") + "<?p?>x</Zurizaz>") },
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
        // Exponents too long for an int, which the reader makes infinite: the range's ends.
        { ParameterIds::speed, "2e4294967296", 3.0f },
        { ParameterIds::speed, "-2e4294967296", 1.0f },
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
    // The reader removes the value (its tests have the spellings); the parameter takes its default.
    ZurizazAudioProcessor p;
    setPlain (p, ParameterIds::impact, 0.5f);
    restore (p, forge (document ("Zurizaz", param ("impact", "nan") + param ("speed", "3.0"))));

    EXPECT_EQ (plain (p, ParameterIds::impact), 1.0f);
    EXPECT_EQ (plain (p, ParameterIds::speed), 3.0f);
    EXPECT_TRUE (savedText (p).contains (param ("impact", "1.0")));
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
