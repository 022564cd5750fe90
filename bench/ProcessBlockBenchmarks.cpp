#include <benchmark/benchmark.h>

#include <cstdio>
#include <iterator>
#include <vector>

#include <juce_dsp/juce_dsp.h>

#include "BenchmarkSummary.h"
#include "PluginProcessor.h"

/*  processBlock per effect mode on a stereo 48 kHz stream of 512-frame blocks, against two
    baselines run on the same buffer: the framework's own modulated delay (juce::dsp::Chorus) and a
    plain copy of the block. Each iteration first copies the same fresh input into the buffer, as a
    host hands over a new block, so every figure (the baselines' too) includes that copy.
    Times are per stereo frame.
*/
namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;

    struct TempoPlayHead  : public juce::AudioPlayHead
    {
        juce::Optional<PositionInfo> getPosition() const override
        {
            PositionInfo info;
            info.setBpm (120.0);
            info.setIsPlaying (true);
            return info;
        }
    };

    juce::AudioBuffer<float> makeInput()
    {
        juce::AudioBuffer<float> input (2, blockSize);
        juce::Random random (1234);

        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
                input.setSample (ch, i, random.nextFloat() - 0.5f);

        return input;
    }

    // The framework's copy is the C library's memcpy, called with the block's size at run time.
    void copyBlock (const juce::AudioBuffer<float>& from, juce::AudioBuffer<float>& to)
    {
        for (int ch = 0; ch < 2; ++ch)
            juce::FloatVectorOperations::copy (to.getWritePointer (ch), from.getReadPointer (ch), to.getNumSamples());
    }

    void finish (benchmark::State& state)
    {
        state.SetItemsProcessed (state.iterations() * blockSize);
    }

    //==============================================================================
    void processBlockInMode (benchmark::State& state, int fx, float stepGain)
    {
        ZurizazAudioProcessor processor;
        TempoPlayHead playHead;
        processor.setPlayHead (&playHead);
        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);
        processor.treeState.getRawParameterValue ("fx")->store ((float) fx);

        for (auto& gain : processor.stepGain)
            gain = stepGain;

        const auto input = makeInput();
        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;

        for (auto _ : state)
        {
            copyBlock (input, buffer);
            processor.processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
            benchmark::ClobberMemory();
        }

        finish (state);
    }

    void chorusBaseline (benchmark::State& state)
    {
        juce::dsp::Chorus<float> chorus;
        chorus.prepare ({ sampleRate, (juce::uint32) blockSize, 2 });

        const auto input = makeInput();
        juce::AudioBuffer<float> buffer (2, blockSize);

        for (auto _ : state)
        {
            copyBlock (input, buffer);
            juce::dsp::AudioBlock<float> block (buffer);
            chorus.process (juce::dsp::ProcessContextReplacing<float> (block));
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
            benchmark::ClobberMemory();
        }

        finish (state);
    }

    void memcpyBaseline (benchmark::State& state)
    {
        const auto input = makeInput();
        juce::AudioBuffer<float> buffer (2, blockSize);

        for (auto _ : state)
        {
            copyBlock (input, buffer);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
            benchmark::ClobberMemory();
        }

        finish (state);
    }

    //==============================================================================
    const char* const modeNames[] = { "GLIMMER", "DISTORT", "SILENCE", "QUAKE", "DESTROY" };
    const char* const silenceAtHalfGain = "SILENCE, step gain 0.5";

    std::string benchmarkName (const char* mode)   { return std::string ("processBlock/") + mode; }

    const bool registered = []
    {
        // The start state's step gains of 1.0, at which the gate leaves the block as it is; and
        // SILENCE once more with a gain of 0.5, at which the gate multiplies every sample.
        for (int fx = 1; fx <= 5; ++fx)
            benchmark::RegisterBenchmark (benchmarkName (modeNames[fx - 1]).c_str(), processBlockInMode, fx, 1.0f);

        benchmark::RegisterBenchmark (benchmarkName (silenceAtHalfGain).c_str(), processBlockInMode, 3, 0.5f);

        benchmark::RegisterBenchmark ("baseline/juce::dsp::Chorus", chorusBaseline);
        benchmark::RegisterBenchmark ("baseline/memcpy", memcpyBaseline);

        return BenchmarkSummary::add ([] (const BenchmarkSummary::NanosecondsPerItem& results)
        {
            const auto chorus = results.find ("baseline/juce::dsp::Chorus");
            const auto copy = results.find ("baseline/memcpy");

            if (chorus == results.end() || copy == results.end())
                return;

            std::printf ("\nprocessBlock, stereo, 48 kHz, %d-frame blocks (ns per stereo frame)\n", blockSize);
            std::printf ("  %-28s %8.2f ns\n", "juce::dsp::Chorus", chorus->second);
            std::printf ("  %-28s %8.2f ns\n", "memcpy", copy->second);

            std::vector<const char*> names (std::begin (modeNames), std::end (modeNames));
            names.push_back (silenceAtHalfGain);

            for (auto* mode : names)
            {
                const auto found = results.find (benchmarkName (mode));

                if (found != results.end())
                    std::printf ("  %-28s %8.2f ns   %6.2fx Chorus   throughput %5.2fx memcpy\n",
                                 mode, found->second, found->second / chorus->second, copy->second / found->second);
            }

            std::printf ("  targets: GLIMMER <= 1.0x Chorus per frame; SILENCE + gate >= 0.5x memcpy throughput\n");
        });
    }();
}
