#include <gtest/gtest.h>

#include <juce_core/juce_core.h>

#include "ReaderCheck.h"
#include "RestoreCheck.h"

namespace
{
    /** The fuzzer's seeds, valid and damaged: a blob that once broke the plug-in stays in the
        corpus and keeps being checked without the fuzzer. */
    juce::Array<juce::File> seeds()
    {
        const juce::File corpus (ZURIZAZ_STATE_CORPUS_DIR);
        return corpus.findChildFiles (juce::File::findFiles, false, "*");
    }

    juce::MemoryBlock bytesOf (const juce::File& seed)
    {
        juce::MemoryBlock bytes;
        EXPECT_TRUE (seed.loadFileAsData (bytes)) << seed.getFullPathName();
        return bytes;
    }
}

TEST (StateCorpus, EverySeedPassesTheFuzzersCheckOfTheReader)
{
    const auto files = seeds();
    ASSERT_GE (files.size(), 20) << "no seed corpus in " << ZURIZAZ_STATE_CORPUS_DIR;

    for (const auto& seed : files)
    {
        SCOPED_TRACE (seed.getFileName());
        const auto bytes = bytesOf (seed);
        EXPECT_EQ (checkReader (bytes.getData(), bytes.getSize()), "");
    }
}

TEST (StateCorpus, EverySeedRestoresToValidParametersSavesAndPlays)
{
    const auto files = seeds();
    ASSERT_GE (files.size(), 20) << "no seed corpus in " << ZURIZAZ_STATE_CORPUS_DIR;

    // One checker for all of them, each seed checked right after the state that leaves the most
    // behind (every parameter and member at its maximum), and a new checker for each: a seed's
    // save must restore the same values either way, or its outcome would hang on the input before it.
    const auto mostLeftBehind = bytesOf (juce::File (ZURIZAZ_STATE_CORPUS_DIR).getChildFile ("valid-all-maximum"));
    RestoreChecker reused;

    for (const auto& seed : files)
    {
        SCOPED_TRACE (seed.getFileName());
        const auto bytes = bytesOf (seed);

        RestoreChecker fresh;
        EXPECT_EQ (fresh.check (bytes.getData(), bytes.getSize()), "");

        EXPECT_EQ (reused.check (mostLeftBehind.getData(), mostLeftBehind.getSize()), "");
        EXPECT_EQ (reused.check (bytes.getData(), bytes.getSize()), "");
        EXPECT_EQ (reused.lastRestoredValues(), fresh.lastRestoredValues());
    }
}
