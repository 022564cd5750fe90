#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <juce_core/juce_core.h>

/** What a host relies on after handing the plug-in any state blob, damaged or not: the whole
    restore path, reader, tree state and members together.

    check() restores the bytes into a processor and checks that every parameter holds a finite
    value within its range, that the next save writes a well-formed blob which restores to the
    same parameter values, and that the restored processor, once prepared, plays a block with
    finite output. It returns an empty string when all of that holds, else what failed.

    The processor is built once and reused, since building it costs far more than the checks:
    before each input it goes back to one start state, the parameters and the members that
    prepareToPlay sets from them, so that no input's outcome depends on the one before.

    The corpus test replays the committed seeds through it; the fuzzer checks the reader alone
    (ReaderCheck.h), which is where damaged bytes go.
*/
class RestoreChecker
{
public:
    RestoreChecker();
    ~RestoreChecker();

    std::string check (const void* data, size_t sizeInBytes);

    /** Every parameter's value, normalised, once the last check()'s save was restored: what the
        next session would play. */
    const std::vector<float>& lastRestoredValues() const noexcept;

private:
    struct Session;
    std::unique_ptr<Session> session;

    JUCE_DECLARE_NON_COPYABLE (RestoreChecker)
};
