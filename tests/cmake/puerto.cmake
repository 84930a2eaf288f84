# The test serial port: a preload library that stands a pseudo-terminal with
# scripted modem lines in for one device path, and the tests of the real
# serial backend that run through it.
add_library(puerto_falso SHARED ${CMAKE_SOURCE_DIR}/tests/puerto/puerto_falso.c)
set_target_properties(puerto_falso PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# Preloaded into sanitized and plain programs alike: kept free of sanitizers.
target_compile_options(puerto_falso PRIVATE -fno-sanitize=all)
target_link_options(puerto_falso PRIVATE -fno-sanitize=all)
target_link_libraries(puerto_falso PRIVATE ${CMAKE_DL_LIBS})

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/puerto/tst_puertoqt.cpp)
add_executable(tst_puertoqt ${CMAKE_SOURCE_DIR}/tests/puerto/tst_puertoqt.cpp)
target_link_libraries(tst_puertoqt PRIVATE quimbal_fakes)
add_dependencies(tst_puertoqt puerto_falso)
add_test(NAME tst_puertoqt
  COMMAND ${CMAKE_SOURCE_DIR}/tests/puerto/con_puerto_falso.sh $<TARGET_FILE:puerto_falso>
          $<TARGET_FILE:tst_puertoqt>)
set_tests_properties(tst_puertoqt PROPERTIES LABELS unit TIMEOUT 120
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false")
endif()
