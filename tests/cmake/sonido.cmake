# Prints the readings of the sound-level component (end-to-end checks and the
# latency benchmark use it).
add_executable(sonda_sonido ${CMAKE_SOURCE_DIR}/tests/sonido/sonda_sonido.cpp)
target_link_libraries(sonda_sonido PRIVATE quimbal_platform)
