#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <juce_dsp/juce_dsp.h>

#include "BenchmarkSummary.h"
#include "PlayHeads.h"
#include "processor/PluginProcessor.h"

/*  processBlock per effect mode on a stereo 48 kHz stream of 512-frame blocks, against two
    baselines run on the same buffer: the framework's own modulated delay (juce::dsp::Chorus) and a
    plain copy of the block. Each iteration first copies the same fresh input into the buffer, as a
    host hands over a new block, so every figure (the baselines' too) includes that copy.
    Times are per stereo frame.

    Those runs follow one another, and a shared machine drifts between them, so the ratios the
    targets speak of come from interleaved rounds instead: the Chorus and each mode take turns
    within every round, each round gives one ratio per mode, and the median and quartiles of
    those ratios are printed. What the rounds cannot even out is where the run's memory lands:
    with address randomisation a whole run's ratios may move by several per cent, without it
    (setarch -R) they agree from run to run within about one.
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
    /** A processor in one mode, with its own input and buffer, run a block at a time. */
    struct ProcessorRig
    {
        ProcessorRig (int fx, float stepGain, float phase)
        {
            processor.setPlayHead (&playHead);
            processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
            processor.prepareToPlay (sampleRate, blockSize);
            processor.treeState.getRawParameterValue (ParameterIds::fx)->store ((float) fx);
            processor.treeState.getRawParameterValue (ParameterIds::phaserX)->store (phase);

            for (auto& gain : processor.stepGain)
                gain = stepGain;
        }

        void runBlock()
        {
            copyBlock (input, buffer);
            processor.processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
            benchmark::ClobberMemory();
        }

        ZurizazAudioProcessor processor;
        FakeTransport playHead;   // 120 bpm, playing
        const juce::AudioBuffer<float> input = makeInput();
        juce::AudioBuffer<float> buffer { 2, blockSize };
        juce::MidiBuffer midi;
    };

    /** The framework's modulated delay at its defaults, on the same kind of block. */
    struct ChorusRig
    {
        ChorusRig() { chorus.prepare ({ sampleRate, (juce::uint32) blockSize, 2 }); }

        void runBlock()
        {
            copyBlock (input, buffer);
            juce::dsp::AudioBlock<float> block (buffer);
            chorus.process (juce::dsp::ProcessContextReplacing<float> (block));
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
            benchmark::ClobberMemory();
        }

        juce::dsp::Chorus<float> chorus;
        const juce::AudioBuffer<float> input = makeInput();
        juce::AudioBuffer<float> buffer { 2, blockSize };
    };

    void processBlockInMode (benchmark::State& state, int fx, float stepGain, float phase)
    {
        ProcessorRig rig (fx, stepGain, phase);

        for (auto _ : state)
            rig.runBlock();

        finish (state);
    }

    void chorusBaseline (benchmark::State& state)
    {
        ChorusRig rig;

        for (auto _ : state)
            rig.runBlock();

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
    const char* const glimmerAtPhase = "GLIMMER, Phase 0.3";   // two sines per sample, not one

    //==============================================================================
    /** One row of the interleaved rounds: a mode's time per block against another row's. */
    struct RatioRow
    {
        const char* name;
        const char* against;
        double target;
        double median = 0.0, lowerQuartile = 0.0, upperQuartile = 0.0, lowest = 0.0, highest = 0.0;
    };

    constexpr int numRounds = 31;
    std::vector<RatioRow> ratioRows;   // filled by interleavedRounds, printed by the summary

    double percentile (std::vector<double> values, double fraction)
    {
        std::sort (values.begin(), values.end());
        const auto position = fraction * (double) (values.size() - 1);
        const auto below = (size_t) position;
        const auto above = std::min (below + 1, values.size() - 1);
        return values[below] + (position - (double) below) * (values[above] - values[below]);
    }

    void interleavedRounds (benchmark::State& state)
    {
        struct Contender
        {
            Contender (const char* n, std::function<void()> run) : name (n), runBlock (std::move (run)) {}

            const char* name;
            std::function<void()> runBlock;
            int blocksPerTurn = 1;
            std::vector<double> nsPerBlock;
        };

        ChorusRig chorus;
        ProcessorRig glimmer (1, 1.0f, 0.0f), glimmerPhase (1, 1.0f, 0.3f), quake (4, 1.0f, 0.0f),
            silence (3, 1.0f, 0.0f), silenceHalf (3, 0.5f, 0.0f);

        std::vector<Contender> contenders { { "juce::dsp::Chorus", [&]
                                              { chorus.runBlock(); } },
                                            { "GLIMMER", [&]
                                              { glimmer.runBlock(); } },
                                            { glimmerAtPhase, [&]
                                              { glimmerPhase.runBlock(); } },
                                            { "QUAKE", [&]
                                              { quake.runBlock(); } },
                                            { "SILENCE", [&]
                                              { silence.runBlock(); } },
                                            { silenceAtHalfGain, [&]
                                              { silenceHalf.runBlock(); } } };

        using Clock = std::chrono::steady_clock;
        const auto timeBlocks = [] (Contender& c, int blocks)
        {
            const auto start = Clock::now();

            for (int b = 0; b < blocks; ++b)
                c.runBlock();

            return std::chrono::duration<double, std::nano> (Clock::now() - start).count() / blocks;
        };

        // Warm up, and give each turn about 3 ms whatever the mode costs.
        for (auto& c : contenders)
        {
            timeBlocks (c, 50);
            c.blocksPerTurn = std::max (1, (int) (3.0e6 / timeBlocks (c, 50)));
        }

        for (auto _ : state)
        {
            for (int round = 0; round < numRounds; ++round)
            {
                // Every other round in the opposite order, so that a drift within a round evens out.
                for (size_t n = 0; n < contenders.size(); ++n)
                {
                    auto& c = contenders[round % 2 == 0 ? n : contenders.size() - 1 - n];
                    c.nsPerBlock.push_back (timeBlocks (c, c.blocksPerTurn));
                }
            }
        }

        ratioRows = { { "GLIMMER", "juce::dsp::Chorus", 1.45 },
                      { glimmerAtPhase, "juce::dsp::Chorus", 1.65 },
                      { "QUAKE", "juce::dsp::Chorus", 1.45 },
                      { silenceAtHalfGain, "SILENCE", 1.4 } };

        const auto find = [&] (const char* name)
        { return std::find_if (contenders.begin(), contenders.end(), [name] (const Contender& c)
                               { return std::string (c.name) == name; }); };

        for (auto& row : ratioRows)
        {
            const auto& times = find (row.name)->nsPerBlock;
            const auto& baseline = find (row.against)->nsPerBlock;
            std::vector<double> ratios;

            for (size_t i = 0; i < times.size(); ++i)
                ratios.push_back (times[i] / baseline[i]);

            row.median = percentile (ratios, 0.5);
            row.lowerQuartile = percentile (ratios, 0.25);
            row.upperQuartile = percentile (ratios, 0.75);
            row.lowest = percentile (ratios, 0.0);
            row.highest = percentile (ratios, 1.0);
        }
    }

    std::string benchmarkName (const char* mode) { return std::string ("processBlock/") + mode; }

    const bool registered = []
    {
        // The start state's step gains of 1.0, at which the gate leaves the block as it is; and
        // SILENCE once more with a gain of 0.5, at which the gate multiplies every sample.
        for (int fx = 1; fx <= 5; ++fx)
            benchmark::RegisterBenchmark (benchmarkName (modeNames[fx - 1]).c_str(), processBlockInMode, fx, 1.0f, 0.0f);

        benchmark::RegisterBenchmark (benchmarkName (glimmerAtPhase).c_str(), processBlockInMode, 1, 1.0f, 0.3f);
        benchmark::RegisterBenchmark (benchmarkName (silenceAtHalfGain).c_str(), processBlockInMode, 3, 0.5f, 0.0f);
        benchmark::RegisterBenchmark ("interleaved/rounds", interleavedRounds)->Iterations (1)->Unit (benchmark::kMillisecond);

        benchmark::RegisterBenchmark ("baseline/juce::dsp::Chorus", chorusBaseline);
        benchmark::RegisterBenchmark ("baseline/memcpy", memcpyBaseline);

        return BenchmarkSummary::add ([] (const BenchmarkSummary::NanosecondsPerItem& results)
                                      {
            if (! ratioRows.empty())
            {
                std::printf ("\nInterleaved, %d rounds: median ratio of the times per block (quartiles; lowest to highest)\n", numRounds);

                for (const auto& row : ratioRows)
                    std::printf ("  %-24s %5.2fx %-18s (%.2f-%.2f; %.2f-%.2f)  target <= %.2fx: %s\n", row.name, row.median,
                                 row.against, row.lowerQuartile, row.upperQuartile, row.lowest, row.highest, row.target,
                                 row.median <= row.target ? "ok" : "OVER TARGET");
            }

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
            for (const auto* name : { modeNames[0], glimmerAtPhase, modeNames[1], silenceAtHalfGain, modeNames[3], modeNames[4] })
            {
                const auto found = results.find (benchmarkName (name));

                if (found == results.end())
                    continue;

                const auto percent = percentOfACore (found->second);
                std::printf ("  %-24s %8.2f ns/frame  %6.3f %% of a core  %-11s %5.2fx Chorus\n", name,
                             found->second, percent, verdict (percent <= budgetPercent), found->second / chorus->second);
            }

            // The gate's multiply against a plain copy, for the record: the block's frame alone
            // costs more than the copy, so the gate is judged against SILENCE at gain 1 above.
            const auto gated = results.find (benchmarkName (silenceAtHalfGain));
            const auto ungated = results.find (benchmarkName (modeNames[2]));

            if (gated != results.end() && ungated != results.end())
                std::printf ("\n%s: %.2f ns/frame, SILENCE at step gain 1: %.2f, memcpy: %.2f\n", silenceAtHalfGain,
                             gated->second, ungated->second, copy->second); });
    }();
}
