#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "MessageLoop.h"
#include "processor/StepLevels.h"
#include "state/ParameterLayout.h"
#include "Parameters.h"
#include "PlayHeads.h"
#include "editor/PluginEditor.h"

namespace
{
    // Long enough for every thread to pass through its whole cycle many times, under ThreadSanitizer too.
    constexpr juce::uint32 runMilliseconds = 3000;

    juce::MouseEvent mouseEventAt (juce::Component& target, int x, int y, bool dragged)
    {
        const juce::Point<float> position ((float) x, (float) y);
        const auto now = juce::Time::getCurrentTime();
        return { juce::Desktop::getInstance().getMainMouseSource(), position, juce::ModifierKeys::leftButtonModifier,
                 juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f,
                 &target, &target, now, position, now, 1, dragged };
    }

    /** The host's audio thread: blocks of changing sizes, in every effect and speed mode, with the
        tempo changing under it and automation arriving on the same thread (as VST3 hosts send it),
        the step handles' heights among it while the editor drags them. */
    void runAudioThread (ZurizazAudioProcessor& processor, FakeTransport& playHead,
                         const std::atomic<bool>& stop, std::atomic<int>& blocks)
    {
        juce::AudioBuffer<float> storage (2, 1024);
        juce::MidiBuffer midi;
        juce::Random random (7);
        const double tempos[] = { 120.0, 90.0, 180.0, 240.0, 61.0, 133.3 };

        for (int block = 0; ! stop.load(); ++block)
        {
            if (block % 8 == 0)
            {
                automatePlain (processor, ParameterIds::fx, (float) (1 + (block / 8) % 5));
                automatePlain (processor, ParameterIds::speed, (float) (1 + (block / 40) % 3));
                automatePlain (processor, ParameterIds::feedback, random.nextFloat() * 0.6f);
            }

            // A handle moved by the host's automation, anywhere in its 4..400 pixels.
            automatePlain (processor, ParameterIds::handleHeights[block % 8], (float) (4 + random.nextInt (397)) / 400.0f);

            if (block % 16 == 0)
                automatePlain (processor, ParameterIds::bypassOn, (block / 16) % 4 == 3 ? 1.0f : 0.0f);

            playHead.setTempo (tempos[(size_t) (block / 3) % std::size (tempos)]);

            const auto numSamples = random.nextInt (storage.getNumSamples() + 1);

            for (int ch = 0; ch < storage.getNumChannels(); ++ch)
                for (int i = 0; i < numSamples; ++i)
                    storage.setSample (ch, i, random.nextFloat() - 0.5f);

            juce::AudioBuffer<float> buffer (storage.getArrayOfWritePointers(), storage.getNumChannels(), numSamples);
            processor.processBlock (buffer, midi);
            ++blocks;
        }
    }

    /** The host saving and restoring the session from a thread of its own. */
    void runStateThread (ZurizazAudioProcessor& processor, const std::atomic<bool>& stop, std::atomic<int>& saves)
    {
        while (! stop.load())
        {
            juce::MemoryBlock state;
            processor.getStateInformation (state);
            processor.setStateInformation (state.getData(), (int) state.getSize());
            ++saves;
            std::this_thread::yield();
        }
    }

    /** One round of a user at the window: paint, drag a handle, press bypass, pick presets. */
    void useEditor (ZurizazAudioProcessorEditor& editor, juce::Image& canvas, int round)
    {
        {
            juce::Graphics g (canvas);
            editor.paintEntireComponent (g, true);
        }

        // Press on the background above handle (round % 8)'s column and drag it up and down.
        const int columnX[] = { 40, 110, 180, 250, 540, 610, 680, 750 };
        const auto x = columnX[round % 8];
        editor.mouseDown (mouseEventAt (editor, x, 40, false));
        for (int y = 60; y <= 380; y += 40)
            editor.mouseDrag (mouseEventAt (editor, x, y, true));
        editor.mouseUp (mouseEventAt (editor, x, 380, true));

        // Presses in the centre column show and hide the knobs panel.
        if (round % 5 == 0)
            editor.mouseDown (mouseEventAt (editor, 400, 420, false));

        if (round % 3 == 0)
            editor.bypassButton.triggerClick();

        if (round % 4 == 0)
            editor.presetBox.setSelectedId (1 + round % editor.presetBox.getNumItems(), juce::sendNotificationSync);

        if (round % 7 == 0)
            (round % 14 == 0 ? editor.nextPresetButton : editor.previousPresetButton).triggerClick();

        // Clicks arrive as messages; the tree state's timer and the attachments' updates too.
        for (int i = 0; i < 50 && juce::dispatchNextMessageOnSystemQueue (true); ++i)
        {
        }
    }
}

TEST (Concurrency, AudioEditorAndSessionThreadsShareTheProcessorWithoutRaces)
{
    ZurizazAudioProcessor processor;
    FakeTransport playHead;
    processor.setPlayHead (&playHead);
    processor.setRateAndBufferSizeDetails (48000.0, 1024);
    processor.prepareToPlay (48000.0, 1024);

    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    ASSERT_NE (dynamic_cast<ZurizazAudioProcessorEditor*> (editor.get()), nullptr);

    std::atomic<bool> stop { false };
    std::atomic<int> blocks { 0 }, saves { 0 };
    std::thread audioThread (runAudioThread, std::ref (processor), std::ref (playHead), std::cref (stop), std::ref (blocks));
    std::thread stateThread (runStateThread, std::ref (processor), std::cref (stop), std::ref (saves));

    juce::Image canvas (juce::Image::ARGB, 800, 477, true);
    const auto end = juce::Time::getMillisecondCounter() + runMilliseconds;
    int rounds = 0;

    while (juce::Time::getMillisecondCounter() < end || rounds < 50 || blocks.load() < 200 || saves.load() < 20)
    {
        useEditor (*dynamic_cast<ZurizazAudioProcessorEditor*> (editor.get()), canvas, rounds);

        // The host closes and reopens the window now and then while audio runs.
        if (++rounds % 25 == 0)
        {
            processor.editorBeingDeleted (editor.get());
            editor.reset (processor.createEditorIfNeeded());
        }
    }

    stop = true;
    audioThread.join();
    stateThread.join();

    processor.editorBeingDeleted (editor.get());
    editor.reset();

    EXPECT_GE (blocks.load(), 200);
    EXPECT_GE (saves.load(), 20);
}

namespace
{
    /** Lets two threads start each round together and waits for both to finish it. */
    class SpinBarrier
    {
    public:
        void arriveAndWait()
        {
            const auto generation = passed.load();

            if (waiting.fetch_add (1) == 1)
            {
                waiting = 0;
                ++passed;
                return;
            }

            while (passed.load() == generation)
                std::this_thread::yield();
        }

    private:
        std::atomic<int> waiting { 0 }, passed { 0 };
    };

    /** The plain value the tree state holds for a parameter: what the next save writes. */
    float savedValue (ZurizazAudioProcessor& processor, const char* id)
    {
        juce::MemoryBlock blob;
        processor.getStateInformation (blob);
        const auto tree = juce::ValueTree::fromXml (*juce::AudioProcessor::getXmlFromBinary (blob.getData(), (int) blob.getSize()));
        return (float) tree.getChildWithProperty ("id", id)["value"];
    }
}

// Host automation on the audio thread and a drag on the message thread may set one handle at the
// same moment. Once both writes are in, the handle's height, its gain (what plays) and the next
// save all say what the parameter holds.
TEST (Concurrency, TwoWritersOfOneHandleLeaveItAsItsParameterHolds)
{
    ZurizazAudioProcessor processor;
    const auto* id = ParameterIds::handleHeights[2];
    const auto& parameter = *processor.treeState.getParameter (id);
    const auto& rawValue = *processor.treeState.getRawParameterValue (id);

    constexpr int rounds = 200000;
    const auto end = juce::Time::getMillisecondCounter() + 4 * runMilliseconds;   // fewer under TSan
    SpinBarrier start, done;
    std::atomic<bool> stop { false };
    int played = 0, mirrored = 0, held = 0, saved = 0;

    std::thread host ([&]
                      {
        for (int round = 0; round < rounds; ++round)
        {
            start.arriveAndWait();
            if (stop.load())
                break;
            automatePlain (processor, id, (round % 2 == 0 ? 300.0f : 100.0f) / 400.0f);
            done.arriveAndWait();
        } });

    int round = 0;
    for (; round < rounds; ++round)
    {
        if (juce::Time::getMillisecondCounter() > end)
            stop = true;

        start.arriveAndWait();
        if (stop.load())
            break;
        automatePlain (processor, id, (round % 2 == 0 ? 100.0f : 300.0f) / 400.0f);
        done.arriveAndWait();

        const auto plain = parameter.convertFrom0to1 (parameter.getValue());
        const auto height = juce::roundToInt (plain * 400.0f);
        mirrored += processor.handleHeight[2].load() != (float) height ? 1 : 0;
        played += processor.stepGain[2].load() != StepLevels::levelForHeight (height) ? 1 : 0;
        held += rawValue.load() != plain ? 1 : 0;

        if (round % 1000 == 0)
            saved += savedValue (processor, id) != plain ? 1 : 0;
    }

    host.join();

    EXPECT_GT (round, 1000);
    EXPECT_EQ (mirrored, 0) << "of " << round << " rounds";
    EXPECT_EQ (played, 0) << "of " << round << " rounds";
    EXPECT_EQ (held, 0) << "of " << round << " rounds";
    EXPECT_EQ (saved, 0) << "of " << round / 1000 << " saves";
}
