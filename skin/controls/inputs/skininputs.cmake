# The skinned input controls, tabs and headers (Windows tree): their controllers join the controls library and
# register their kinds; a Wine test skins real combo boxes, edits, up-downs, date pickers, tabs and headers.
target_sources(kes_skincontrols PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/SkinCombo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win/SkinEdit.cpp ${CMAKE_CURRENT_LIST_DIR}/win/SkinTabs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win/SkinHeader.cpp)
target_link_options(kes_skincontrols INTERFACE -Wl,-u,kes_skin_combo_anchor -Wl,-u,kes_skin_edit_anchor
  -Wl,-u,kes_skin_tabs_anchor)
kestrup_wine_test(skininputs_wine_tests GUI LOCK board TIMEOUT 180
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinInputs_test.cpp ${KES_FRAME_TEST_RC}
  LIBS kes_skincontrols kes_skinres kes_skintools)
add_dependencies(skininputs_wine_tests kes_frame_test_skin)
