# Port controls (CPortCtl: TComLed, TComComboBox) and the port setup dialog (CPortSetup), with the lamp's glyph
# resources. Programs that show a lamp link kes_portctl and the object library kes_portctl_res (Windows), whose
# resource script KESTRUP_PORTCTL_RC is drawn at build time (cmake/KestrupResources.cmake).
add_library(kes_portctl STATIC
  ${CMAKE_CURRENT_LIST_DIR}/CPortCtl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CPortSetup.cpp)
target_include_directories(kes_portctl PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kes_portctl PUBLIC kes_serial kes_gui)

if(KESTRUP_WINDOWS)
  target_sources(kes_portctl PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/LedGlyphWin.cpp)
  # The lamp's glyphs as objects, so that the linker keeps the resources in the program.
  add_library(kes_portctl_res OBJECT ${KESTRUP_PORTCTL_RC})
  set_source_files_properties(${KESTRUP_PORTCTL_RC} PROPERTIES GENERATED TRUE)
else()
  target_sources(kes_portctl PRIVATE ${CMAKE_CURRENT_LIST_DIR}/LedGlyphHeadless.cpp)
endif()

kestrup_native_test(portctl_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/FakeComDevice.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/PortCtl_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tests/PortSetup_test.cpp
  LIBS kes_portctl)

kestrup_wine_test(portctl_wine_tests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/PortCtlWine_test.cpp
  LIBS kes_portctl kes_portctl_res kestrup_testsupport
  LOCK board TIMEOUT 180)
