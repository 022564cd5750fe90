#include <atomic>
#include <thread>

#include "HostedPluginTest.h"
#include "MessageLoop.h"
#include "PlayHeads.h"
#include "XDisplay.h"

// What careless or unusual hosts do to a plug-in, through the real wrappers: automation anywhere
// in range at any moment, odd rates and block sizes, layouts switched between runs, the session
// restored while audio runs, and the window opened and closed again and again. A crash fails
// the whole binary; everything else must at least leave the audio finite.

namespace
{
    void fillWithNoise (juce::AudioBuffer<float>& buffer, juce::Random& random)
    {
        for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (channel, i, random.nextFloat() * 2.0f - 1.0f);
    }

    /** True when any sample of the two buffers, of one size, differs. */
    bool differsFrom (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        for (int channel = 0; channel < a.getNumChannels(); ++channel)
            for (int i = 0; i < a.getNumSamples(); ++i)
                if (a.getSample (channel, i) != b.getSample (channel, i))
                    return true;

        return false;
    }

    /** Processes one block of noise of the given size; false when the output is not finite. */
    bool processNoise (juce::AudioPluginInstance& plugin, int numChannels, int numSamples, juce::Random& random)
    {
        juce::AudioBuffer<float> buffer (numChannels, numSamples);
        juce::MidiBuffer midi;
        fillWithNoise (buffer, random);
        plugin.processBlock (buffer, midi);
        return allFinite (buffer);
    }
}

using HostAbuse = HostedPluginWithTransport<FakeTransport>;

TEST_P (HostAbuse, RandomAutomationOfEveryParameterBetweenAndAcrossBlocksKeepsTheAudioFinite)
{
    plugin->prepareToPlay (48000.0, 1024);

    // The plug-in's parameters only: the wrapper's own bypass would skip the plug-in's processing
    // for every block it happened to be on.
    juce::Array<juce::AudioProcessorParameter*> parameters;

    for (auto* parameter : plugin->getParameters())
        if (parameter != plugin->getBypassParameter())
            parameters.add (parameter);

    ASSERT_EQ (parameters.size(), 19);
    auto* fx = findParameter (*plugin, "Fx");
    auto* ownBypass = findParameter (*plugin, "BypassOn");
    ASSERT_NE (fx, nullptr);
    ASSERT_NE (ownBypass, nullptr);

    juce::Random random (0xab05e);
    int nonFiniteBlocks = 0, distortBlocks = 0, distortBlocksThatChangedTheNoise = 0;

    for (int block = 0; block < 1000; ++block)
    {
        // Several values per block, on any parameter, anywhere from 0 to 1 and at the ends.
        for (int change = 0; change < 4; ++change)
        {
            auto* parameter = parameters[random.nextInt (parameters.size())];
            const auto value = random.nextInt (8) == 0 ? (float) random.nextInt (2) : random.nextFloat();
            parameter->setValueNotifyingHost (value);
        }

        transport.setTempo (20.0 + 400.0 * random.nextDouble());

        juce::AudioBuffer<float> buffer (2, 1 + random.nextInt (1024));
        juce::MidiBuffer midi;
        fillWithNoise (buffer, random);
        const juce::AudioBuffer<float> input (buffer);
        plugin->processBlock (buffer, midi);

        if (! allFinite (buffer))
            ++nonFiniteBlocks;

        // fx runs 1 to 5; DISTORT (2 up to 3) shapes every sample of noise, whatever else is set,
        // unless the plug-in's own bypass, automated among the others, is on for the block.
        const auto fxValue = fx->getValue();

        if (fxValue > 0.26f && fxValue < 0.49f && ownBypass->getValue() < 0.5f)
        {
            ++distortBlocks;

            if (differsFrom (buffer, input))
                ++distortBlocksThatChangedTheNoise;
        }
    }

    EXPECT_EQ (nonFiniteBlocks, 0);

    // The effect ran: not bypassed by the host, and reached through the automation.
    ASSERT_GE (distortBlocks, 60);
    EXPECT_GE (distortBlocksThatChangedTheNoise, distortBlocks * 9 / 10);
}

TEST_P (HostAbuse, RepeatedPrepareAndReleaseAtEveryRateAndBlockSizeKeepsTheAudioFinite)
{
    using Set = juce::AudioChannelSet;
    auto layouts = std::vector<Set> { Set::stereo() };

    if (isVst3())
        layouts.push_back (Set::mono());   // the LV2's ports are stereo only

    juce::Random random (44);
    const int blockSizes[] = { 0, 1, 3, 127, 441, 4096 };

    for (const double sampleRate : { 22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0 })
    {
        for (const int blockSize : blockSizes)
        {
            // Switch between mono and stereo from one preparation to the next.
            const auto& channels = layouts[(size_t) random.nextInt ((int) layouts.size())];
            SCOPED_TRACE (juce::String (sampleRate) + " Hz, blocks of " + juce::String (blockSize) + ", "
                          + channels.getDescription());

            plugin->releaseResources();
            ASSERT_TRUE (plugin->setBusesLayout ({ { channels }, { channels } }));
            plugin->prepareToPlay (sampleRate, blockSize);

            for (int fx = 0; fx < 5; ++fx)
            {
                findParameter (*plugin, "Fx")->setValueNotifyingHost ((float) fx / 4.0f);

                for (int block = 0; block < 3; ++block)
                    ASSERT_TRUE (processNoise (*plugin, channels.size(), blockSize, random)) << "effect mode " << fx + 1;
            }
        }
    }
}

TEST_P (HostAbuse, RestoringSessionsWhileTheAudioThreadRunsNeitherCrashesNorBreaksTheAudio)
{
    plugin->prepareToPlay (48000.0, 512);

    // Three sessions to restore: the start state and two others.
    std::vector<juce::MemoryBlock> sessions (3);
    plugin->getStateInformation (sessions[0]);
    juce::Random random (2);

    for (size_t s = 1; s < sessions.size(); ++s)
    {
        for (auto* parameter : plugin->getParameters())
            parameter->setValueNotifyingHost (s == 1 ? 0.9f : 0.1f);

        ASSERT_TRUE (processNoise (*plugin, 2, 512, random));
        plugin->getStateInformation (sessions[s]);
    }

    std::atomic<bool> stop { false };
    std::atomic<int> blocks { 0 }, nonFiniteBlocks { 0 };

    std::thread audioThread ([&]
                             {
        juce::Random noise (3);

        while (! stop.load())
        {
            if (! processNoise (*plugin, 2, 1 + noise.nextInt (512), noise))
                ++nonFiniteBlocks;

            ++blocks;
        } });

    // The message thread restores, saves and keeps its loop running, as a host does.
    for (int restore = 0; restore < 60; ++restore)
    {
        const auto& session = sessions[(size_t) restore % sessions.size()];
        plugin->setStateInformation (session.getData(), (int) session.getSize());

        juce::MemoryBlock saved;
        plugin->getStateInformation (saved);
        EXPECT_GT (saved.getSize(), 0u);

        runMessagesFor (5);
    }

    // Make sure the audio ran alongside, however slow the machine.
    runMessagesUntil ([&]
                      { return blocks.load() >= 50; },
                      10000);
    stop = true;
    audioThread.join();

    EXPECT_GE (blocks.load(), 50);
    EXPECT_EQ (nonFiniteBlocks.load(), 0);
}

TEST_P (HostAbuse, TheWindowOpensAndClosesManyTimesWhileTheAudioRuns)
{
    XDisplay display;

    if (! display.isOpen())
        GTEST_SKIP() << "needs an X display (the test script runs ctest under xvfb-run)";

    plugin->prepareToPlay (48000.0, 512);

    std::atomic<bool> stop { false };
    std::atomic<int> nonFiniteBlocks { 0 };

    std::thread audioThread ([&]
                             {
        juce::Random random (5);

        while (! stop.load())
        {
            if (! processNoise (*plugin, 2, 256, random))
                ++nonFiniteBlocks;

            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        } });

    for (int round = 0; round < 25; ++round)
    {
        std::unique_ptr<juce::AudioProcessorEditor> window (plugin->createEditorIfNeeded());
        ASSERT_NE (window, nullptr) << "round " << round;

        // Every other round the window reaches the screen; the rest close before it is shown.
        if (round % 2 == 0)
        {
            window->addToDesktop (0);
            window->setVisible (true);
            ASSERT_NE (display.waitForWindowInside (*window, 800, 477, 10000), 0u) << "round " << round;

            // Hidden first, and its events left to run their course: JUCE's LV2 host embeds the
            // plug-in's window with an XEmbedComponent, which answers a ConfigureNotify with a
            // MessageManager::callAsync holding its own raw this, so a window closed before that
            // call runs has it use the deleted object (the host's framework code, not the plug-in's).
            window->setVisible (false);
            ASSERT_TRUE (display.waitUntilNoWindowInside (*window, 800, 477, 10000)) << "round " << round;
        }

        runPendingMessages();
        window.reset();
        runPendingMessages();
    }

    stop = true;
    audioThread.join();
    EXPECT_EQ (nonFiniteBlocks.load(), 0);
}

ZURIZAZ_INSTANTIATE_FOR_EACH_FORMAT (HostAbuse);
