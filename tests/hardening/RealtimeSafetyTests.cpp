#include <cmath>
#include <cstdlib>
#include <mutex>

#include <gtest/gtest.h>

#include "AudioThreadGuard.h"
#include "state/ParameterLayout.h"
#include "Parameters.h"
#include "PlayHeads.h"
#include "processor/PluginProcessor.h"

namespace
{
    constexpr int maxBlockSize = 4096;

    std::string describe (const AudioThreadGuard::Counts& c)
    {
        return std::to_string (c.allocations) + " allocations, " + std::to_string (c.deallocations)
               + " deallocations, " + std::to_string (c.locks) + " locks on the audio thread";
    }

    /** Drives a processor the way a host does: parameters and transport change between blocks on
        the host's side, and only processBlock runs flagged as the audio thread. */
    struct AudioThreadHost
    {
        AudioThreadHost()
        {
            processor.setPlayHead (&playHead);
        }

        void prepare (double sampleRate)
        {
            processor.setRateAndBufferSizeDetails (sampleRate, maxBlockSize);
            processor.prepareToPlay (sampleRate, maxBlockSize);
        }

        void setPlain (const char* id, float plainValue) { ::setPlain (processor, id, plainValue); }

        void setNormalised (int index, float value)
        {
            auto* parameter = processor.getParameters()[index];
            parameter->beginChangeGesture();
            parameter->setValueNotifyingHost (value);
            parameter->endChangeGesture();
        }

        /** Fills the input with noise, then runs one block flagged as the audio thread. Returns
            false when the output holds a NaN or an infinity. */
        bool processBlock (int numSamples)
        {
            for (int ch = 0; ch < storage.getNumChannels(); ++ch)
                for (int i = 0; i < numSamples; ++i)
                    storage.setSample (ch, i, random.nextFloat() * 2.0f - 1.0f);

            juce::AudioBuffer<float> block (storage.getArrayOfWritePointers(), storage.getNumChannels(), numSamples);

            {
                AudioThreadGuard::ScopedAudioThread audioThread;
                processor.processBlock (block, midi);
            }

            for (int ch = 0; ch < block.getNumChannels(); ++ch)
                for (int i = 0; i < numSamples; ++i)
                    if (! std::isfinite (block.getSample (ch, i)))
                        return false;

            return true;
        }

        ZurizazAudioProcessor processor;
        FakeTransport playHead;
        juce::AudioBuffer<float> storage { 2, maxBlockSize };
        juce::MidiBuffer midi;
        juce::Random random { 0x5eed };
    };
}

TEST (RealtimeSafety, EveryModeSpeedTempoAndBlockSizeProcessesWithoutAllocatingOrLocking)
{
    AudioThreadHost host;
    const double tempos[] = { 120.0, 60.0, 90.0, 179.9, 240.0, 999.0, 59.0, 30.0, 0.0, -20.0 };
    const int blockSizes[] = { 0, 1, 7, 255, 256, 257, 512, 1023, maxBlockSize };
    int nonFiniteBlocks = 0;

    for (const double sampleRate : { 22050.0, 44100.0, 192000.0 })
    {
        host.prepare (sampleRate);
        AudioThreadGuard::reset();

        for (int fx = 1; fx <= 5; ++fx)
        {
            host.setPlain (ParameterIds::fx, (float) fx);

            for (int speed = 1; speed <= 3; ++speed)
            {
                host.setPlain (ParameterIds::speed, (float) speed);

                for (const double tempo : tempos)
                {
                    host.playHead.setTempo (tempo);

                    for (const int blockSize : blockSizes)
                        if (! host.processBlock (blockSize))
                            ++nonFiniteBlocks;
                }
            }
        }

        const auto counts = AudioThreadGuard::counts();
        EXPECT_TRUE (counts.isClean()) << "at " << sampleRate << " Hz: " << describe (counts);
    }

    EXPECT_EQ (nonFiniteBlocks, 0);
}

TEST (RealtimeSafety, AutomationBypassStepEditsAndMissingTransportCauseNoAllocationOrLock)
{
    AudioThreadHost host;
    host.prepare (48000.0);
    AudioThreadGuard::reset();

    const auto numParameters = host.processor.getParameters().size();
    juce::Random random { 19 };
    int nonFiniteBlocks = 0;

    for (int block = 0; block < 3000; ++block)
    {
        // As a host's automation does between blocks: a few parameters at a time, anywhere in range.
        for (int change = 0; change < 3; ++change)
            host.setNormalised (random.nextInt (numParameters), random.nextFloat());

        // As the editor does: bypass, step gains and handle heights written from another thread.
        if (block % 37 == 0)
            host.processor.bypassOn = ! host.processor.bypassOn.load();

        const auto step = (size_t) random.nextInt (ZurizazAudioProcessor::numSteps);
        host.processor.stepGain[step] = 0.1f * (float) (1 + random.nextInt (10));
        host.processor.handleHeight[step] = (float) (82 + random.nextInt (269));

        host.playHead.setReportsPosition (block % 11 != 0);
        host.playHead.setTempo (20.0 + random.nextDouble() * 280.0);

        if (! host.processBlock (random.nextInt (maxBlockSize + 1)))
            ++nonFiniteBlocks;
    }

    const auto counts = AudioThreadGuard::counts();
    EXPECT_TRUE (counts.isClean()) << describe (counts);
    EXPECT_EQ (nonFiniteBlocks, 0);
}

TEST (RealtimeSafety, GuardCountsAllocationsAndLocksOnlyOnTheFlaggedThread)
{
    // The guard itself: without this, a broken interposition would let every other test pass.
    // Explicit calls and volatile pointers, so that the compiler cannot elide the pairs.
    AudioThreadGuard::reset();
    ::operator delete (::operator new (sizeof (int)));
    std::mutex unflaggedMutex;
    unflaggedMutex.lock();
    unflaggedMutex.unlock();
    EXPECT_TRUE (AudioThreadGuard::counts().isClean());

    {
        AudioThreadGuard::ScopedAudioThread audioThread;
        ::operator delete (::operator new (sizeof (int)));
        void* volatile raw = std::malloc (16);
        std::free (raw);
        std::mutex mutex;
        mutex.lock();
        mutex.unlock();
    }

    const auto counts = AudioThreadGuard::counts();
    EXPECT_EQ (counts.allocations, 2);
    EXPECT_EQ (counts.deallocations, 2);
    EXPECT_EQ (counts.locks, 1);
    AudioThreadGuard::reset();
}
