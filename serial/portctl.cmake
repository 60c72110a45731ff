# Port controls (CPortCtl: TComLed, TComComboBox) and the port setup dialog (CPortSetup), with the lamp's glyph
# resources. Programs that show a lamp link kes_portctl and the object library kes_portctl_res (Windows), whose
# resource script KESTRUP_PORTCTL_RC is drawn at build time by the native kestrup-ledart.
add_library(kes_portctl STATIC
  ${CMAKE_CURRENT_LIST_DIR}/CPortCtl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CPortSetup.cpp)
target_include_directories(kes_portctl PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kes_portctl PUBLIC kes_serial kes_gui)

if(KESTRUP_WINDOWS)
  target_sources(kes_portctl PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/LedGlyphWin.cpp)

  set(KESTRUP_NATIVE_BUILD "${CMAKE_BINARY_DIR}/../native" CACHE PATH
      "Native build tree whose tools draw the program's resources")
  set(KES_LEDART ${KESTRUP_NATIVE_BUILD}/tools/ledart/kestrup-ledart)
  set(KES_LEDART_OUT ${CMAKE_BINARY_DIR}/ledart)
  set(KESTRUP_PORTCTL_RC ${KES_LEDART_OUT}/PortLeds.rc CACHE INTERNAL "Resource script of the port lamp's glyphs")
  add_custom_command(
    OUTPUT ${KESTRUP_PORTCTL_RC}
    COMMAND ${KES_LEDART} ${KES_LEDART_OUT} ${KESTRUP_PORTCTL_RC}
    DEPENDS ${KES_LEDART}
    COMMENT "Drawing the port lamp's glyphs"
    VERBATIM)
  add_custom_target(kes_portctl_art DEPENDS ${KESTRUP_PORTCTL_RC})
  # Objects, so that the linker keeps the resources in the program.
  add_library(kes_portctl_res OBJECT ${KESTRUP_PORTCTL_RC})
  add_dependencies(kes_portctl_res kes_portctl_art)
  set_source_files_properties(${KESTRUP_PORTCTL_RC} PROPERTIES GENERATED TRUE)
else()
  target_sources(kes_portctl PRIVATE ${CMAKE_CURRENT_LIST_DIR}/LedGlyphNative.cpp)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tools/ledart ${CMAKE_BINARY_DIR}/tools/ledart)
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
