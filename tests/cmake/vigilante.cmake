# A StatusNotifierItem watcher on the session bus (end-to-end test of the tray
# on such desktops).
find_package(Qt6 REQUIRED COMPONENTS DBus)
add_executable(vigilante ${CMAKE_SOURCE_DIR}/tests/e2e/vigilante/vigilante.cpp)
target_link_libraries(vigilante PRIVATE Qt6::DBus)
