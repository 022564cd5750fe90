#include <benchmark/benchmark.h>

#include <cstdio>

#include <juce_dsp/juce_dsp.h>

#include "BenchmarkSummary.h"
#include "PlayHeads.h"
#include "processor/PluginProcessor.h"

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
        FakeTransport playHead;   // 120 bpm, playing
        processor.setPlayHead (&playHead);
        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);
        processor.treeState.getRawParameterValue (ParameterIds::fx)->store ((float) fx);

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

    std::string benchmarkName (const char* mode) { return std::string ("processBlock/") + mode; }

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

            // One instance's share of one core: the time it takes for the frames of one second.
            constexpr double budgetPercent = 0.5;
            const auto percentOfACore = [] (double nsPerFrame)  { return nsPerFrame * sampleRate * 1.0e-9 * 100.0; };
            const auto verdict = [] (bool met)                  { return met ? "ok" : "OVER BUDGET"; };

            std::printf ("\nprocessBlock, one instance, stereo, 48 kHz, %d-frame blocks: share of one core "
                         "(budget %.1f %%)\n", blockSize, budgetPercent);
            std::printf ("  %-24s %8.2f ns/frame  %6.3f %% of a core\n", "juce::dsp::Chorus", chorus->second,
                         percentOfACore (chorus->second));

            // SILENCE stands for its gated run: at step gain 1 the gate leaves the block as it is.
            for (int fx = 1; fx <= 5; ++fx)
            {
                const auto* name = fx == 3 ? silenceAtHalfGain : modeNames[fx - 1];
                const auto found = results.find (benchmarkName (name));

                if (found == results.end())
                    continue;

                const auto percent = percentOfACore (found->second);
                std::printf ("  %-24s %8.2f ns/frame  %6.3f %% of a core  %-11s %5.2fx Chorus\n", name,
                             found->second, percent, verdict (percent <= budgetPercent), found->second / chorus->second);
            }

            // The gate alone costs a multiply per sample: its throughput against a plain copy.
            const auto gated = results.find (benchmarkName (silenceAtHalfGain));
            const auto ungated = results.find (benchmarkName (modeNames[2]));

            if (gated != results.end())
            {
                constexpr double minimumShareOfCopy = 0.5;
                const auto share = copy->second / gated->second;
                std::printf ("\n%s: %.2fx memcpy's throughput (%.2f against %.2f ns/frame), target >= %.1fx: %s\n",
                             silenceAtHalfGain, share, gated->second, copy->second, minimumShareOfCopy,
                             share >= minimumShareOfCopy ? "ok" : "BELOW TARGET");

                if (ungated != results.end())
                    std::printf ("  beside SILENCE at step gain 1, where the gate does nothing: %.2f ns/frame\n",
                                 ungated->second);
            } });
    }();
}
