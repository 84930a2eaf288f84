# Target window of the end-to-end tests: logs every input event it receives.
add_executable(objetivo ${CMAKE_SOURCE_DIR}/tests/e2e/objetivo/objetivo.cpp)
target_link_libraries(objetivo PRIVATE Qt6::Widgets)

# Drives the real injection from standard input (end-to-end test, benchmark).
add_executable(quimbal_inyectar ${CMAKE_SOURCE_DIR}/tests/e2e/inyectar/inyectar.cpp)
target_link_libraries(quimbal_inyectar PRIVATE quimbal_actions quimbal_platform)
