# A desktop notification server on the session bus (end-to-end tests of what
# the program announces while its window is out of sight).
find_package(Qt6 REQUIRED COMPONENTS DBus)
add_executable(notificador ${CMAKE_SOURCE_DIR}/tests/e2e/notificador/notificador.cpp)
target_link_libraries(notificador PRIVATE Qt6::DBus)
