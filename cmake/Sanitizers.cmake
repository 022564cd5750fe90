# Sanitizer and fuzzing builds.
#
#   -DZURIZAZ_SANITIZERS="address;undefined"   AddressSanitizer + UndefinedBehaviorSanitizer
#   -DZURIZAZ_SANITIZERS=thread                ThreadSanitizer
#   -DZURIZAZ_FUZZING=ON                       libFuzzer targets (clang only), with ASan + UBSan
#
# With CMAKE_BUILD_TYPE=Debug the build keeps JUCE's assertions (JUCE_DEBUG) at the optimisation
# of CMAKE_CXX_FLAGS_DEBUG.
#
# The flags are set for the whole directory tree before any target exists, so they reach every
# target, the JUCE module code compiled into the plug-in's shared code included. Every report is
# fatal (-fno-sanitize-recover=all): a sanitizer build passes only when nothing was reported.

set(ZURIZAZ_SANITIZERS "" CACHE STRING "Sanitizers for every target, e.g. \"address;undefined\" or \"thread\"")
option(ZURIZAZ_FUZZING "Build the libFuzzer targets (needs clang)" OFF)

set(zurizaz_sanitizers ${ZURIZAZ_SANITIZERS})

if(ZURIZAZ_FUZZING)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "ZURIZAZ_FUZZING needs clang: configure with CC=clang CXX=clang++")
    endif()
    list(APPEND zurizaz_sanitizers address undefined)
    list(REMOVE_DUPLICATES zurizaz_sanitizers)
endif()

if(zurizaz_sanitizers)
    list(JOIN zurizaz_sanitizers "," zurizaz_sanitizer_list)

    set(zurizaz_compile_sanitizers "${zurizaz_sanitizer_list}")
    if(ZURIZAZ_FUZZING)
        # Coverage feedback for every object; only the fuzz targets link libFuzzer's main.
        string(PREPEND zurizaz_compile_sanitizers "fuzzer-no-link,")
    endif()

    add_compile_options(-fsanitize=${zurizaz_compile_sanitizers}
                        -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${zurizaz_sanitizer_list})

    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        # ccache cannot see the list's content, so the build uses a copy named by its hash: a
        # changed list changes the command line and every object compiles again.
        set(zurizaz_ignorelist "${CMAKE_CURRENT_LIST_DIR}/sanitizer-ignorelist.txt")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${zurizaz_ignorelist}")
        file(MD5 "${zurizaz_ignorelist}" zurizaz_ignorelist_hash)
        set(zurizaz_ignorelist_copy "${CMAKE_BINARY_DIR}/sanitizer-ignorelist-${zurizaz_ignorelist_hash}.txt")
        configure_file("${zurizaz_ignorelist}" "${zurizaz_ignorelist_copy}" COPYONLY)
        add_compile_options("-fsanitize-ignorelist=${zurizaz_ignorelist_copy}")
    endif()

    # A plug-in library leaves the sanitizer runtime to the executable that loads it (the test
    # host, the LV2 helper), which links the runtime and exports it. JUCE links the plug-in with
    # --no-undefined, which would refuse that; undo it once the plug-in targets exist.
    function(zurizaz_let_plugins_use_the_hosts_sanitizer_runtime)
        get_directory_property(targets DIRECTORY "${CMAKE_SOURCE_DIR}" BUILDSYSTEM_TARGETS)
        foreach(target IN LISTS targets)
            get_target_property(type ${target} TYPE)
            if(type STREQUAL "MODULE_LIBRARY" OR type STREQUAL "SHARED_LIBRARY")
                target_link_options(${target} PRIVATE "-Wl,-z,undefs")
            endif()
        endforeach()
    endfunction()
    cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL zurizaz_let_plugins_use_the_hosts_sanitizer_runtime)

    # JUCE's recommended flags make Debug -O0. A sanitizer Debug build (assertions on) takes the
    # optimisation its CMAKE_CXX_FLAGS_DEBUG names instead, so the suite runs in reasonable time.
    function(zurizaz_keep_the_sanitizer_builds_optimisation)
        if(CMAKE_BUILD_TYPE STREQUAL "Debug" AND TARGET juce_recommended_config_flags)
            set_property(TARGET juce_recommended_config_flags PROPERTY INTERFACE_COMPILE_OPTIONS "")
        endif()
    endfunction()
    cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL zurizaz_keep_the_sanitizer_builds_optimisation)
endif()

# True when the build replaces nothing of the C library's allocator, which the allocation
# counting test needs to do itself.
if(zurizaz_sanitizers)
    set(ZURIZAZ_PLAIN_ALLOCATOR OFF)
else()
    set(ZURIZAZ_PLAIN_ALLOCATOR ON)
endif()
