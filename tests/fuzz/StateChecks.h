#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <juce_core/juce_core.h>

/** What a host relies on after handing the plug-in any state blob, damaged or not.

    check() restores the bytes into a processor and checks that every parameter holds a finite
    value within its range, that the next save writes a well-formed blob which another instance
    restores to the same parameter values, and that the restored processor, once prepared, plays a
    block with finite output. It returns an empty string when all of that holds, else what failed.

    The two processors are built once and reused, since building them costs far more than the
    checks: before each input both go back to one start state, the parameters and the members
    that prepareToPlay sets from them, so that no input's outcome depends on the one before.

    Shared by the libFuzzer target and by the test that replays the committed seed corpus.
*/
class StateChecker
{
public:
    StateChecker();
    ~StateChecker();

    std::string check (const void* data, size_t sizeInBytes);

    /** Every parameter's value, normalised, in the instance that restored the last check()'s
        save: what the next session would play. */
    const std::vector<float>& lastRestoredValues() const noexcept;

private:
    struct Processors;
    std::unique_ptr<Processors> processors;

    JUCE_DECLARE_NON_COPYABLE (StateChecker)
};
