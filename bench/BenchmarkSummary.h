#pragma once

#include <functional>
#include <map>
#include <string>

/** Lets a benchmark file print figures derived from the whole run, such as ratios to a baseline.

    The runner collects, for each benchmark by name, the time per item (nanoseconds per processed
    item, from SetItemsProcessed), and calls every registered summary once the run is over.
*/
namespace BenchmarkSummary
{
    using NanosecondsPerItem = std::map<std::string, double>;
    using Summary = std::function<void (const NanosecondsPerItem&)>;

    /** Registers a summary; call it from a static initialiser in the benchmark's file. */
    bool add (Summary summary);

    /** The runner's part: calls every registered summary. */
    void printAll (const NanosecondsPerItem& results);
}
