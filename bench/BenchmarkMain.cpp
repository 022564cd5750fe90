#include <benchmark/benchmark.h>

#include <juce_events/juce_events.h>

#include <vector>

#include "BenchmarkSummary.h"

namespace BenchmarkSummary
{
    static std::vector<Summary>& summaries()
    {
        static std::vector<Summary> list;
        return list;
    }

    bool add (Summary summary)
    {
        summaries().push_back (std::move (summary));
        return true;
    }

    void printAll (const NanosecondsPerItem& results)
    {
        for (auto& summary : summaries())
            summary (results);
    }
}

namespace
{
    /** The console report, plus a note of each benchmark's time per item for the summaries
        (the median when repeated).
    */
    class CollectingReporter : public benchmark::ConsoleReporter
    {
    public:
        void ReportRuns (const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns (runs);

            for (const auto& run : runs)
            {
                const auto rate = run.counters.find ("items_per_second");

                if (run.error_occurred || rate == run.counters.end() || rate->second.value <= 0.0)
                    continue;

                // With --benchmark_repetitions the median stands for the benchmark.
                if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                    results[run.run_name.function_name] = 1.0e9 / rate->second.value;
            }
        }

        BenchmarkSummary::NanosecondsPerItem results;
    };
}

// The processor's tree state needs JUCE's message manager, as it has in a host.
int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;

    benchmark::Initialize (&argc, argv);

    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks (&reporter);
    benchmark::Shutdown();

    BenchmarkSummary::printAll (reporter.results);
    return 0;
}
