# The skinned check boxes, radio buttons, progress and track bars: their neutral frames, fills and layouts join
# the controls' rules in both trees; the controllers join them in the Windows tree and register their
# kinds (kept in the program by their anchors).
target_sources(kes_skincontrols PRIVATE ${CMAKE_CURRENT_LIST_DIR}/CheckGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ValueBarGeometry.cpp)
if(KESTRUP_WINDOWS)
  target_sources(kes_skincontrols PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/SkinCheckBox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/SkinValueBars.cpp ${CMAKE_CURRENT_LIST_DIR}/win/SkinStripCache.cpp)
  target_link_options(kes_skincontrols INTERFACE -Wl,-u,kes_skin_checks_anchor -Wl,-u,kes_skin_valuebars_anchor)
endif()

kestrup_native_test(skinchecks_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/CheckGeometry_test.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/ValueBarGeometry_test.cpp
  LIBS kes_skincontrols)

# On real windows with the distinct-colour test skin: the program's source window (its check boxes and progress
# bar) and a raw track bar.
kestrup_wine_test(skinchecks_wine_tests GUI LOCK board TIMEOUT 180
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SkinChecks_test.cpp ${KES_FRAME_TEST_RC}
  LIBS kes_skincontrols kes_skintools kes_sourcewin kes_mainwin)
if(KESTRUP_WINDOWS)
  add_dependencies(skinchecks_wine_tests kes_frame_test_skin)
endif()
