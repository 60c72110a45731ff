# Fuzzing with clang's libFuzzer (address and undefined-behaviour sanitizers), a bounded run per target, native
# tree only. run-fuzz.sh builds each target once into the build tree and fails on any crash, leak or hang.
#   kestrup_fuzz_test(name SOURCES... [INCLUDES folders...])
# Sources and include folders are paths from the top folder; the skin core and the class-library sources it needs
# are always built in.
set(KESTRUP_FUZZ_SECONDS 30 CACHE STRING "Seconds each fuzz target runs under CTest")
find_program(KESTRUP_CLANGXX clang++)

function(kestrup_fuzz_test name)
  if(KESTRUP_WINDOWS OR NOT KESTRUP_CLANGXX)
    return()
  endif()
  cmake_parse_arguments(F "" "" "INCLUDES" ${ARGN})
  set(sources)
  foreach(s ${F_UNPARSED_ARGUMENTS} base/StringList.cpp base/Component.cpp base/SysUtils.cpp
            skin/container/LzhTree.cpp skin/container/LZH.cpp skin/container/SkinReader.cpp skin/container/QuickIni.cpp
            skin/container/PixelBuffer.cpp skin/container/ImgUtil.cpp skin/container/BmpReader.cpp)
    list(APPEND sources ${CMAKE_SOURCE_DIR}/${s})
  endforeach()
  string(REPLACE ";" ":" includes "${F_INCLUDES}")
  add_test(NAME fuzz_${name}
    COMMAND ${CMAKE_SOURCE_DIR}/cmake/run-fuzz.sh ${name} ${CMAKE_BINARY_DIR}/fuzz ${KESTRUP_FUZZ_SECONDS}
            ${CMAKE_SOURCE_DIR} ${sources})
  set_tests_properties(fuzz_${name} PROPERTIES LABELS fuzz TIMEOUT 300
                       ENVIRONMENT "CXX_FUZZ=${KESTRUP_CLANGXX};KESTRUP_FUZZ_INCLUDES=${includes}")
endfunction()
