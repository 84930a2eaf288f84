# The profile-file fuzzer: its own small project compiled with clang (see
# tests/fuzz), built with the rest when clang is there and the program itself
# is not a sanitizer build; its test is skipped otherwise.
find_program(QUIMBAL_CLANGXX NAMES clang++ clang++-14)
set(QUIMBAL_FUZZER ${CMAKE_BINARY_DIR}/fuzz/fuzz_usuarios)
if(QUIMBAL_CLANGXX AND NOT QUIMBAL_SANITIZE)
  include(ExternalProject)
  ExternalProject_Add(fuzz_usuarios_proyecto
    SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/fuzz
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${QUIMBAL_CLANGXX} -DQUIMBAL_SRC=${CMAKE_SOURCE_DIR}
               -DCMAKE_BUILD_TYPE=RelWithDebInfo
    BUILD_BYPRODUCTS ${QUIMBAL_FUZZER}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
else()
  set(QUIMBAL_FUZZER ${CMAKE_BINARY_DIR}/fuzz/no-construido)
endif()
add_test(NAME fuzz_usuarios COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/fuzz_usuarios.sh ${QUIMBAL_FUZZER})
set_tests_properties(fuzz_usuarios PROPERTIES LABELS unit TIMEOUT 120 SKIP_RETURN_CODE 77)

# Benchmark of the data files (bench/perfiles.sh runs it; not a test).
add_executable(bench_perfiles ${CMAKE_SOURCE_DIR}/bench/bench_perfiles.cpp)
target_link_libraries(bench_perfiles PRIVATE quimbal_profiles)
