# The skinned controls: the neutral rules (which control gets which controller, the dispatch order, the
# buttons' frames and layouts) in both trees, and in the Windows tree the controllers themselves, each family
# registering its kinds (kept in the program by its anchor).
add_library(kes_skincontrols STATIC ${CMAKE_CURRENT_LIST_DIR}/SkinControlRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinControlCore.cpp ${CMAKE_CURRENT_LIST_DIR}/ButtonGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputGeometry.cpp ${CMAKE_CURRENT_LIST_DIR}/ScrollbarPaint.cpp)
target_include_directories(kes_skincontrols PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kes_skincontrols PUBLIC kes_skindata kes_gui)
if(KESTRUP_WINDOWS)
  # The controllers sit above the frame: they are made for the children of a skinned window.
  target_link_libraries(kes_skincontrols PUBLIC kes_skinframe)
  target_sources(kes_skincontrols PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/SkinControl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/SkinControlMenu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/SkinControlList.cpp ${CMAKE_CURRENT_LIST_DIR}/win/SkinButtons.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/SkinBackgrounds.cpp ${CMAKE_CURRENT_LIST_DIR}/win/SkinControlDraw.cpp)
  target_link_options(kes_skincontrols INTERFACE -Wl,-u,kes_skin_buttons_anchor -Wl,-u,kes_skin_backgrounds_anchor)
endif()

kestrup_native_test(skincontrols_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SkinControlRules_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/ButtonGeometry_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/InputGeometry_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/ScrollbarPaint_test.cpp
  LIBS kes_skincontrols)

if(KESTRUP_WINDOWS)
  # The controllers on real windows in the distinct-colour test skin of the frame tests.
  kestrup_wine_test(skincontrols_wine_tests GUI LOCK board
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinControls_test.cpp ${KES_FRAME_TEST_RC}
    LIBS kes_skincontrols kes_skintools)
  add_dependencies(skincontrols_wine_tests kes_frame_test_skin)
endif()
