#pragma once

#include <cstddef>
#include <string>

/** What a host relies on after handing the plug-in any state blob, damaged or not.

    Restores the bytes into a fresh processor and checks that every parameter holds a finite value
    within its range, that the next save writes a well-formed blob which another instance restores
    to the same parameter values, and that the restored processor, once prepared, plays a block
    with finite output. Returns an empty string when all of that holds, else what failed.

    Shared by the libFuzzer target and by the test that replays the committed seed corpus.
*/
std::string checkRestoredState (const void* data, size_t sizeInBytes);
