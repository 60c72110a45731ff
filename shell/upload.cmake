# The source upload engine: directives, include paths, pacing and the walk over the text and its
# include files. Neutral; the source window wires it to the port, the message loop and its controls.
add_library(kes_upload STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SourceDirectives.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IncludePaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UploadHandshake.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UploadEngine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IncludeFileReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegularFile.cpp
)
target_include_directories(kes_upload PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(kes_upload PUBLIC kes_base kes_terminal)  # the board warning's words
if(KESTRUP_WINDOWS)
  target_sources(kes_upload PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win/UploadMessageLoop.cpp
                                    ${CMAKE_CURRENT_LIST_DIR}/win/RegularFile.cpp)
else()
  target_sources(kes_upload PRIVATE ${CMAKE_CURRENT_LIST_DIR}/RegularFilePosix.cpp)
endif()

kestrup_native_test(upload_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/SourceDirectives_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/IncludePaths_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/UploadHandshake_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/UploadEngine_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/IncludeFileReader_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/UploadPacing_test.cpp
  LIBS kes_upload kes_terminal)

kestrup_wine_test(upload_win_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/win/UploadMessageLoop_test.cpp
  LIBS kes_upload)
