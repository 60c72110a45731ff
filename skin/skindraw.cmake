# Skin drawing primitives and text helpers: neutral plans and the software renderer in both trees, the
# GDI routines and the optional user32 calls in the Windows tree.
add_library(kes_skindraw STATIC ${CMAKE_CURRENT_LIST_DIR}/SkinGeometry.cpp ${CMAKE_CURRENT_LIST_DIR}/SkinRaster.cpp)
target_include_directories(kes_skindraw PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kes_skindraw PUBLIC kes_skincore)
if(KESTRUP_WINDOWS)
  target_sources(kes_skindraw PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/SkinDraw.cpp ${CMAKE_CURRENT_LIST_DIR}/win/SkinText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/SkinGdi.cpp)
  target_link_libraries(kes_skindraw PUBLIC kes_gui gdi32 user32)
endif()

kestrup_native_test(skindraw_tests
  SOURCES tests/SkinGeometry_test.cpp tests/SkinRaster_test.cpp
  LIBS kes_skindraw)
# The routines on the test skins and our default skin (drawn by kestrup-skinart, native tree).
kestrup_native_test(skindraw_skin_tests
  SOURCES tests/TestSkinDraw_test.cpp
  LIBS kes_skindraw kes_skindata kes_skinart)
kestrup_wine_test(skindraw_win_tests GUI
  SOURCES tests/win/SkinDraw_test.cpp tests/win/SkinText_test.cpp tests/win/SkinObjectDraw_test.cpp
  LIBS kes_skindraw)
# The region of our default skin as the program stores it (links the program's skin resources).
kestrup_wine_test(skindraw_skin_win_tests GUI
  SOURCES tests/win/DefaultSkinRegion_test.cpp
  LIBS kes_skindraw kes_skindata kes_skinres)
