# The skinned window frame: the neutral frame rules (metrics, hit tests, caption layout, caption buttons,
# non-client actions, region plan) in both trees, the frame itself (TWinSkinForm) in the Windows tree.
add_library(kes_skinframe STATIC ${CMAKE_CURRENT_LIST_DIR}/FrameLayout.cpp ${CMAKE_CURRENT_LIST_DIR}/MenuBarLayout.cpp)
target_include_directories(kes_skinframe PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kes_skinframe PUBLIC kes_skindata kes_skindraw kes_gui)
if(KESTRUP_WINDOWS)
  target_sources(kes_skinframe PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/WinSkinForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/WinSkinFormPaint.cpp ${CMAKE_CURRENT_LIST_DIR}/win/WinSkinFormMdi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/WinSkinMenu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/SkinMenuItems.cpp)
  target_link_libraries(kes_skinframe PUBLIC comctl32 gdi32 user32)
endif()

kestrup_native_test(skinframe_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/FrameLayout_test.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/MenuBarLayout_test.cpp
  LIBS kes_skinframe kes_skinart)

if(KESTRUP_WINDOWS)
  # The distinct-colour test skin (drawn by the native kestrup-skinart) as a resource of the frame tests.
  kestrup_host_tool(frame_skinart kestrup-skinart tools/skinart)
  set(KES_FRAME_TEST_SKINS ${CMAKE_BINARY_DIR}/skinart/tests)
  set(KES_FRAME_TEST_RC ${CMAKE_BINARY_DIR}/skinart/FrameTestSkin.rc)
  add_custom_command(
    OUTPUT ${KES_FRAME_TEST_SKINS}/full.skn ${KES_FRAME_TEST_SKINS}/other.skn
    COMMAND ${frame_skinart} tests ${KES_FRAME_TEST_SKINS}
    DEPENDS ${frame_skinart}
    COMMENT "Drawing the test skins"
    VERBATIM)
  file(WRITE ${KES_FRAME_TEST_RC} "FRAMETESTSKIN RCDATA \"${KES_FRAME_TEST_SKINS}/full.skn\"\n"
    "FRAMETESTSKIN2 RCDATA \"${KES_FRAME_TEST_SKINS}/other.skn\"\n")
  set_source_files_properties(${KES_FRAME_TEST_RC} PROPERTIES OBJECT_DEPENDS
    "${KES_FRAME_TEST_SKINS}/full.skn;${KES_FRAME_TEST_SKINS}/other.skn")
  add_custom_target(kes_frame_test_skin DEPENDS ${KES_FRAME_TEST_SKINS}/full.skn ${KES_FRAME_TEST_SKINS}/other.skn)
  # The frame with the controllers of its children and popup menus, as a program has them.
  kestrup_wine_test(skinframe_wine_tests GUI LOCK board TIMEOUT 180
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/WinSkinForm_test.cpp ${KES_FRAME_TEST_RC}
    LIBS kes_skinframe kes_skincontrols kes_skinres kes_skintools)
  add_dependencies(skinframe_wine_tests kes_frame_test_skin)
  # The frame under the real pointer and keyboard (hardware input; one desktop, so under the board's lock).
  kestrup_wine_test(skinframe_input_tests GUI LOCK board TIMEOUT 180
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/WinSkinFrameInput_test.cpp ${KES_FRAME_TEST_RC}
    LIBS kes_skinframe kes_skincontrols kes_skinres kes_skintools)
  add_dependencies(skinframe_input_tests kes_frame_test_skin)
endif()
