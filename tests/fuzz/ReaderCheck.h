#pragma once

#include <cstddef>
#include <string>

/** What the saved state's reader promises for any bytes, damaged or not.

    checkReader() reads the bytes as a blob of ours. When they give a tree, it checks that the
    tree's type is the plug-in's (in any letter case), that no parameter's value is not a number,
    and that the tree, saved as the processor saves it, reads back as itself: the same save and
    the same values, so that the next session holds what this one restored. It returns an empty
    string when all of that holds, else what failed.

    Pure and cheap: the libFuzzer target runs it on every input, and the corpus test on every seed.
*/
std::string checkReader (const void* data, size_t sizeInBytes);
