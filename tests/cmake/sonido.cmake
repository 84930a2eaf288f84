# Prints the readings of the sound-level component (end-to-end checks and the
# latency benchmark use it).
add_executable(sonda_sonido ${CMAKE_SOURCE_DIR}/tests/sonido/sonda_sonido.cpp)
target_link_libraries(sonda_sonido PRIVATE quimbal_platform)

# The two ways of reading the level from the sound server, compared by
# bench/captura_pulse.sh (not a test).
add_executable(captura_pulse ${CMAKE_SOURCE_DIR}/bench/captura_pulse.cpp)
target_link_libraries(captura_pulse PRIVATE quimbal_platform PkgConfig::PULSE)
