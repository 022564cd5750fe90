# Fails unless the one binary in a bundle exports exactly the symbols named, the entry points a
# host looks up. Anything else exported can bind to a symbol of the same name in another
# library the host loaded globally (the other format of this plug-in, another version of it).
#
#   cmake -DNM=... -DBUNDLE=... "-DENTRY_POINTS=a;b" -P ExportedSymbols.cmake

foreach(var NM BUNDLE ENTRY_POINTS)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

file(GLOB_RECURSE binaries "${BUNDLE}/*.so")
list(LENGTH binaries count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "${BUNDLE} should hold one binary, holds: ${binaries}")
endif()

execute_process(COMMAND "${NM}" -D --defined-only --format=posix "${binaries}"
                OUTPUT_VARIABLE listing RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${NM} cannot read ${binaries}")
endif()

# One line per symbol: name, type, value, size.
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(exported)
foreach(line IN LISTS lines)
    string(REGEX MATCH "^[^ ]+" name "${line}")
    list(APPEND exported "${name}")
endforeach()

list(SORT exported)
set(expected ${ENTRY_POINTS})
list(SORT expected)

if(NOT exported STREQUAL expected)
    set(extra ${exported})
    list(REMOVE_ITEM extra ${expected})
    set(missing ${expected})
    list(REMOVE_ITEM missing ${exported})
    list(LENGTH extra extras)
    list(SUBLIST extra 0 20 shown)
    message(FATAL_ERROR "${binaries}\n  missing entry points: ${missing}\n"
                        "  exported besides them (${extras}, the first 20): ${shown}")
endif()

message(STATUS "${binaries} exports ${exported}")
