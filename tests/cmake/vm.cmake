# Tests in a QEMU guest on Debian's own kernel (tests/vm/invitado.sh): one per
# tests/vm/vm_*.sh. Skipped, with the reason in the test's output, where the
# guest cannot run. One guest at a time: each takes both processors.
file(GLOB QUIMBAL_VM_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/vm/vm_*.sh)
foreach(script ${QUIMBAL_VM_TESTS})
  get_filename_component(nombre ${script} NAME_WE)
  add_test(NAME ${nombre} COMMAND ${script} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(${nombre} PROPERTIES LABELS vm TIMEOUT 300 RUN_SERIAL TRUE
    SKIP_RETURN_CODE 77
    ENVIRONMENT "QUIMBAL_BUILD=${CMAKE_BINARY_DIR};QUIMBAL_SRC=${CMAKE_SOURCE_DIR}")
endforeach()
