# Skin data: the skin data component, the skin objects read from a skin description, and (Windows) the program's
# skin resources: our default skin and the program's own skin bitmaps, drawn at build time into KESTRUP_SKIN_RC
# (cmake/KestrupResources.cmake).
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
target_link_libraries(kes_skindata PUBLIC kes_skincore kes_skindraw kes_gui)

if(KESTRUP_WINDOWS)
  # The program's skin resources: link kes_skinres into a program (objects, so the linker keeps them).
  add_library(kes_skinres OBJECT ${KESTRUP_SKIN_RC})
  set_source_files_properties(${KESTRUP_SKIN_RC} PROPERTIES GENERATED TRUE OBJECT_DEPENDS "${KESTRUP_SKIN_STREAM};${KESTRUP_SKINART_OUT}/program/Kestrup.ico")
endif()

kestrup_native_test(skindata_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SkinDescription_test.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/SkinData_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/DefaultSkin_test.cpp
  LIBS kes_skindata kes_skinart)

kestrup_wine_test(skindata_wine_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinDataWin_test.cpp
  LIBS kes_skindata kes_skinres kes_skintools)

# The drawing routines on the test skins and our default skin (drawn by kestrup-skinart, native tree).
kestrup_native_test(skindraw_skin_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/TestSkinDraw_test.cpp
  LIBS kes_skindraw kes_skindata kes_skinart)
# The region of our default skin as the program stores it (links the program's skin resources).
kestrup_wine_test(skindraw_skin_win_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/DefaultSkinRegion_test.cpp
  LIBS kes_skindraw kes_skindata kes_skinres)
