# Skin data: the skin data component, the skin objects read from a skin description, our own default skin
# (artwork drawn by kestrup-skinart, packed by kestrup-skinpack) and the program's own skin bitmaps.
set(KES_SKINDATA_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SkinData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinDescription.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Skin3rd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgramBitmaps.cpp)
if(KESTRUP_WINDOWS)
  add_library(kes_skindata STATIC ${KES_SKINDATA_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/win/SkinPlatformWin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/StoredSkin.cpp)
  target_link_libraries(kes_skindata PUBLIC comctl32 gdi32 user32)
else()
  add_library(kes_skindata STATIC ${KES_SKINDATA_SOURCES} ${CMAKE_CURRENT_LIST_DIR}/SkinPlatformHeadless.cpp)
endif()
target_include_directories(kes_skindata PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kes_skindata PUBLIC kes_skincore kes_skindraw kes_skintools kes_gui)

# The art tool and the picture of the default skin (native tools; the Windows tree uses the native build's).
if(NOT KESTRUP_WINDOWS)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tools/skinart ${CMAKE_BINARY_DIR}/tools/skinart)
  set(KESTRUP_SKINART $<TARGET_FILE:kestrup-skinart>)
  set(KESTRUP_SKINPACK $<TARGET_FILE:kestrup-skinpack>)
  set(KES_SKINART_DEPENDS kestrup-skinart kestrup-skinpack)
else()
  set(KESTRUP_NATIVE_BUILD "${CMAKE_BINARY_DIR}/../native" CACHE PATH
      "Native build tree whose skin tools draw and pack the program's skin resources")
  set(KESTRUP_SKINART ${KESTRUP_NATIVE_BUILD}/tools/skinart/kestrup-skinart)
  set(KESTRUP_SKINPACK ${KESTRUP_NATIVE_BUILD}/tools/skintools/kestrup-skinpack)
  set(KES_SKINART_DEPENDS ${KESTRUP_SKINART} ${KESTRUP_SKINPACK})
endif()

# The default skin, the program bitmaps and the program's icon, drawn and packed at build time. The stored skin resource holds
# what the main window stores as "SkinStream": the container's length, then the container.
set(KES_SKINART_OUT ${CMAKE_BINARY_DIR}/skinart)
set(KES_SKIN_STREAM ${KES_SKINART_OUT}/Kestrup.skinstream)
set(KESTRUP_SKIN_RC ${KES_SKINART_OUT}/KestrupSkin.rc)
add_custom_command(
  OUTPUT ${KES_SKIN_STREAM} ${KESTRUP_SKIN_RC} ${KES_SKINART_OUT}/Kestrup.skn ${KES_SKINART_OUT}/program/Kestrup.ico
  COMMAND ${KESTRUP_SKINART} default ${KES_SKINART_OUT}/default
  COMMAND ${KESTRUP_SKINART} program ${KES_SKINART_OUT}/program
  COMMAND ${KESTRUP_SKINPACK} ${KES_SKINART_OUT}/default ${KES_SKINART_OUT}/Kestrup.skn
  COMMAND ${KESTRUP_SKINART} stream ${KES_SKINART_OUT}/Kestrup.skn ${KES_SKIN_STREAM}
  COMMAND ${KESTRUP_SKINART} rc ${KES_SKINART_OUT} ${KESTRUP_SKIN_RC}
  DEPENDS ${KES_SKINART_DEPENDS}
  COMMENT "Drawing and packing the default skin"
  VERBATIM)
add_custom_target(kes_skinart_files ALL DEPENDS ${KES_SKIN_STREAM} ${KESTRUP_SKIN_RC})

if(KESTRUP_WINDOWS)
  # The program's skin resources: link kes_skinres into a program (objects, so the linker keeps them).
  add_library(kes_skinres OBJECT ${KESTRUP_SKIN_RC})
  add_dependencies(kes_skinres kes_skinart_files)
  set_source_files_properties(${KESTRUP_SKIN_RC} PROPERTIES GENERATED TRUE OBJECT_DEPENDS "${KES_SKIN_STREAM};${KES_SKINART_OUT}/program/Kestrup.ico")
endif()

kestrup_native_test(skindata_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SkinDescription_test.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/SkinData_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/DefaultSkin_test.cpp
  LIBS kes_skindata kes_skinart)

kestrup_wine_test(skindata_wine_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinDataWin_test.cpp
  LIBS kes_skindata kes_skinres)

# The picture of the default skin (native tree): cmake --build <native> --target skin_preview
if(NOT KESTRUP_WINDOWS)
  add_custom_target(skin_preview
    COMMAND ${CMAKE_SOURCE_DIR}/tools/skinart/preview.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/../skin-preview.png
    DEPENDS kestrup-skinart kes_skinart_files
    COMMENT "Drawing the picture of the default skin"
    VERBATIM)
endif()

# Fuzzing the description walk (clang's libFuzzer; see skin/CMakeLists.txt).
kestrup_fuzz_test(skindescription skin/fuzz/SkinDescription_fuzz.cpp skin/SkinDescription.cpp skin/SkinData.cpp
  skin/Skin3rd.cpp skin/ProgramBitmaps.cpp skin/SkinPlatformHeadless.cpp skin/SkinGeometry.cpp skin/SkinRaster.cpp
  gui/Graphics.cpp tools/skintools/Bmp.cpp tools/skintools/SkinWriter.cpp tools/skintools/LzhEncoder.cpp
  tools/skinart/TestSkins.cpp)
