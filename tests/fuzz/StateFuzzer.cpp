// libFuzzer target: any bytes handed to the saved state's reader, as a host restoring a damaged
// session hands them to setStateInformation. Build with -DZURIZAZ_FUZZING=ON (clang), then for instance:
//   build-fuzz/tests/fuzz/ZurizazStateFuzzer -max_total_time=60 tests/fuzz/corpus

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ReaderCheck.h"

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    const auto failure = checkReader (data, size);

    if (! failure.empty())
    {
        std::fprintf (stderr, "State check failed: %s\n", failure.c_str());
        std::abort();
    }

    return 0;
}
