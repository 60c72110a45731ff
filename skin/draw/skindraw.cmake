# Skin drawing primitives and text helpers: neutral plans and the software renderer in both trees, the
# GDI routines and the optional user32 calls in the Windows tree.
add_library(kes_skindraw STATIC ${CMAKE_CURRENT_LIST_DIR}/SkinGeometry.cpp ${CMAKE_CURRENT_LIST_DIR}/SkinRaster.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScrollbarGeometry.cpp ${CMAKE_CURRENT_LIST_DIR}/TabGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HeaderGeometry.cpp ${CMAKE_CURRENT_LIST_DIR}/ComboGeometry.cpp)
target_include_directories(kes_skindraw PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kes_skindraw PUBLIC kes_skincore)
if(KESTRUP_WINDOWS)
  target_sources(kes_skindraw PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/SkinDraw.cpp ${CMAKE_CURRENT_LIST_DIR}/win/SkinText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/SkinGdi.cpp)
  target_link_libraries(kes_skindraw PUBLIC kes_gui gdi32 user32)
endif()

kestrup_native_test(skindraw_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SkinGeometry_test.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/SkinRaster_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/ControlGeometry_test.cpp
  LIBS kes_skindraw)
kestrup_wine_test(skindraw_win_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinDraw_test.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinText_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinObjectDraw_test.cpp
  LIBS kes_skindraw)
