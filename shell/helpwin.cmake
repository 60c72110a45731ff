# The help window (Unit3): the built-in help text, the search and the web addresses it opens. The window's
# work builds in both trees; its place in the program (CreateHelpWindow) on Windows. The program includes
# this file after its own targets and makes the window with CreateHelpWindow.
add_library(kes_helpwin STATIC
  ${CMAKE_CURRENT_LIST_DIR}/HelpAddress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unit3.cpp
)
target_include_directories(kes_helpwin PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(kes_helpwin PUBLIC kes_textsearch kes_gui)
if(KESTRUP_WINDOWS)
  target_sources(kes_helpwin PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/win/HelpWindowStart.cpp ${CMAKE_CURRENT_LIST_DIR}/win/HelpWindowCreate.cpp)
endif()

kestrup_native_test(helpwin_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/HelpAddress_test.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/HelpWindow_test.cpp
  LIBS kes_helpwin)

# One at a time ("MyHelp.txt" beside the program is written by one, read by the others) and with the focus.
kestrup_wine_test(helpwin_wine_tests GUI LOCK board
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/HelpWindow_test.cpp
  LIBS kes_helpwin)
