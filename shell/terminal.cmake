# The terminal's text logic (board modes, receive path, escape filter, history, settings codec, log and
# status texts) and, on Windows, the TCP client of the console link.
add_library(kes_terminal STATIC
  ${CMAKE_CURRENT_LIST_DIR}/BoardModes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommandHistory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CopyDataLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EscapeFilter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogicalLines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LogLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReceivePath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StatusPanels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TerminalSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WarningDetector.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TypedWrites.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowPlace.cpp
)
target_include_directories(kes_terminal PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(kes_terminal PUBLIC kes_base)
if(KESTRUP_WINDOWS)
  target_sources(kes_terminal PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/win/CompanionLauncher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/ConsoleLinkClient.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win/LocalTimeText.cpp)
  target_link_libraries(kes_terminal PUBLIC ws2_32 kes_gui)
endif()

kestrup_native_test(terminal_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/BoardModes_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/CommandHistory_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/EscapeFilter_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/LogicalLines_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/ReceivePath_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/TerminalSettings_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/TerminalTexts_test.cpp
  LIBS kes_terminal)

kestrup_wine_test(terminal_win_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/win/CompanionLauncher_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/win/ConsoleLinkClient_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/win/LocalTimeText_test.cpp
  LIBS kes_terminal kes_gui
  LOCK board)
if(KESTRUP_WINDOWS)
  # Stands in for the companion when the tests start it: leaves a mark beside itself and ends.
  add_executable(terminal_fake_companion ${CMAKE_CURRENT_LIST_DIR}/tests/win/FakeCompanion.cpp)
  target_include_directories(terminal_fake_companion PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
  add_dependencies(terminal_win_tests terminal_fake_companion)
endif()
