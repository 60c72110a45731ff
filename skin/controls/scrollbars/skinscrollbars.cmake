# The skinned scroll bars: overlays over the native bars of scrollable controls and the drop-down list's bar.
# They register their kinds with the controller list; the anchor keeps them in the program.
if(KESTRUP_WINDOWS)
  target_sources(kes_skincontrols PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/SkinScrollbar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/ComboListScrollbar.cpp)
  target_link_options(kes_skincontrols INTERFACE -Wl,-u,kes_skin_scrollbars_anchor)
  # On real windows with the distinct-colour test skin of the frame tests.
  kestrup_wine_test(skinscrollbar_win_tests GUI LOCK board
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinScrollbar_test.cpp ${KES_FRAME_TEST_RC}
    LIBS kes_skincontrols kes_skinres)
  add_dependencies(skinscrollbar_win_tests kes_frame_test_skin)
endif()
