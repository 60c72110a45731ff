# The source window (Unit2) with its include frame (Unit5): editing, files, search, printing, the include
# viewer and the upload's wiring to the port and the window. The text work builds in both trees; the window
# on Windows. The program includes this file after its own targets and lists CreateSourceWindow among the
# windows it makes.
add_library(kes_sourcewin STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SourceEditing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unit5.cpp
)
target_include_directories(kes_sourcewin PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(kes_sourcewin PUBLIC kes_upload kes_terminal kes_gui)
if(KESTRUP_WINDOWS)
  target_sources(kes_sourcewin PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/win/Unit2.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/SourceUpload.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/SourceWindowStart.cpp)
  target_link_libraries(kes_sourcewin PUBLIC kes_mainwin kes_serial)
  if(TARGET Kestrup)
    target_link_libraries(Kestrup PRIVATE kes_sourcewin)
  endif()
endif()

kestrup_native_test(sourcewin_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/SourceEditing_test.cpp
  LIBS kes_sourcewin)

# Under Wine against the simulated board; this program plays the main window's receive role.
kestrup_wine_test(sourcewin_win_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/SourceWindow_test.cpp
  LIBS kes_sourcewin kestrup_testsupport
  LOCK board TIMEOUT 180)

# End to end: Kestrup.exe (built beside the test) with its source window against the simulated board.
if(KESTRUP_WINDOWS AND TARGET kestrup_driver AND TARGET Kestrup)
  kestrup_wine_test(kestrup_source_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/KestrupSource_test.cpp
    LIBS kestrup_driver
    LOCK board TIMEOUT 180)
  add_dependencies(kestrup_source_tests Kestrup)
endif()
