#include <gtest/gtest.h>

#include <juce_core/juce_core.h>

#include "StateChecks.h"

// The fuzzer's seeds, valid and damaged, replayed in every build: a blob that once broke the
// plug-in stays in the corpus and keeps being checked without the fuzzer.
TEST (StateCorpus, EverySeedRestoresToValidParametersSavesAndPlays)
{
    const juce::File corpus (ZURIZAZ_STATE_CORPUS_DIR);
    const auto seeds = corpus.findChildFiles (juce::File::findFiles, false, "*");
    ASSERT_GE (seeds.size(), 20) << "no seed corpus in " << corpus.getFullPathName();

    // One checker for all of them, as the fuzzer reuses it, each seed checked right after the
    // state that leaves the most behind (every parameter and member at its maximum), and a new
    // checker for each: a seed's save must restore the same values either way, or its outcome
    // would hang on the input before it.
    juce::MemoryBlock mostLeftBehind;
    ASSERT_TRUE (corpus.getChildFile ("valid-all-maximum").loadFileAsData (mostLeftBehind));
    StateChecker reused;

    for (const auto& seed : seeds)
    {
        SCOPED_TRACE (seed.getFileName());
        juce::MemoryBlock bytes;
        ASSERT_TRUE (seed.loadFileAsData (bytes));

        StateChecker fresh;
        EXPECT_EQ (fresh.check (bytes.getData(), bytes.getSize()), "");

        EXPECT_EQ (reused.check (mostLeftBehind.getData(), mostLeftBehind.getSize()), "");
        EXPECT_EQ (reused.check (bytes.getData(), bytes.getSize()), "");
        EXPECT_EQ (reused.lastRestoredValues(), fresh.lastRestoredValues());
    }
}
