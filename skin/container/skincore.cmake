# The skin container: the decoder, the container and description reader, the INI reader and the bitmap routines.
# It builds in both trees; the Windows tree adds the GDI side of the bitmap routines.
add_library(kes_skincore STATIC
  ${CMAKE_CURRENT_LIST_DIR}/LzhTree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LZH.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QuickIni.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PixelBuffer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImgUtil.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BmpReader.cpp
)
target_include_directories(kes_skincore PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kes_skincore PUBLIC kes_base)

if(KESTRUP_WINDOWS)
  target_sources(kes_skincore PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/ImgUtilWin.cpp)
  target_link_libraries(kes_skincore PUBLIC gdi32)
endif()

set(skincore_test_sources ${CMAKE_CURRENT_LIST_DIR}/tests/LZH_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tests/SkinReader_test.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/QuickIni_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tests/ImgUtil_test.cpp)
kestrup_native_test(skincore_tests SOURCES ${skincore_test_sources} LIBS kes_skincore kes_skintools)
# The same tests built by the Windows compiler, run under Wine.
kestrup_wine_test(skincore_wine_tests
  SOURCES ${skincore_test_sources} ${CMAKE_CURRENT_LIST_DIR}/tests/win/ImgUtilWin_test.cpp
  LIBS kes_skincore kes_skintools)

# Fuzzing (cmake/KestrupFuzz.cmake); the container and description walks are fuzzed from tools/, whose writers
# make their seeds.
kestrup_fuzz_test(lzh skin/container/fuzz/LZH_fuzz.cpp)
kestrup_fuzz_test(quickini skin/container/fuzz/QuickIni_fuzz.cpp)
