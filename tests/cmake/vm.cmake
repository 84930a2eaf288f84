# Tests in a QEMU guest on Debian's own kernel (tests/vm/invitado.sh): the
# rig's own check. Skipped, with the reason in the test's output, where the
# guest cannot run. One guest at a time: each takes both processors.
add_test(NAME vm_rig COMMAND ${CMAKE_SOURCE_DIR}/tests/vm/vm_rig.sh
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(vm_rig PROPERTIES LABELS vm TIMEOUT 300 RUN_SERIAL TRUE
  SKIP_RETURN_CODE 77
  ENVIRONMENT "QUIMBAL_BUILD=${CMAKE_BINARY_DIR};QUIMBAL_SRC=${CMAKE_SOURCE_DIR}")
