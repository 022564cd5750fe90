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

    for (const auto& seed : seeds)
    {
        juce::MemoryBlock bytes;
        ASSERT_TRUE (seed.loadFileAsData (bytes));
        EXPECT_EQ (checkRestoredState (bytes.getData(), bytes.getSize()), "") << seed.getFileName();
    }
}
