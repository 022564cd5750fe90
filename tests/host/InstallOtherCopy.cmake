# Installs another build of Zurizaz into a home folder the way the README's set-up does
# (HOME/.vst3/Zurizaz.vst3, HOME/.lv2/Zurizaz.lv2), so that the hosted suite can run against a
# home that holds one. The copies are the build's bundles, told apart as a host sees them: the
# LV2 names itself and its Speed parameter "(installed copy)" and claims a newer version (which
# lilv would prefer over the build's); the VST3 only by its path.
#
#   cmake -DVST3_BUNDLE=... -DLV2_BUNDLE=... -DHOME_DIR=... -P InstallOtherCopy.cmake

foreach(var VST3_BUNDLE LV2_BUNDLE HOME_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${HOME_DIR}")
file(MAKE_DIRECTORY "${HOME_DIR}/.vst3" "${HOME_DIR}/.lv2")
file(COPY "${VST3_BUNDLE}" DESTINATION "${HOME_DIR}/.vst3")
file(COPY "${LV2_BUNDLE}" DESTINATION "${HOME_DIR}/.lv2")

get_filename_component(lv2_name "${LV2_BUNDLE}" NAME)
set(dsp "${HOME_DIR}/.lv2/${lv2_name}/dsp.ttl")
file(READ "${dsp}" marked)
string(REPLACE "doap:name \"Zurizaz\"" "doap:name \"Zurizaz (installed copy)\"" marked "${marked}")
string(REPLACE "rdfs:label \"Speed\"" "rdfs:label \"Speed (installed copy)\"" marked "${marked}")
string(REGEX REPLACE "lv2:microVersion [0-9]+" "lv2:microVersion 999" marked "${marked}")

foreach(mark "doap:name \"Zurizaz (installed copy)\"" "rdfs:label \"Speed (installed copy)\"" "lv2:microVersion 999")
    string(FIND "${marked}" "${mark}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${dsp} could not be marked as the installed copy (${mark})")
    endif()
endforeach()

file(WRITE "${dsp}" "${marked}")
