# Shared build rules: warnings, architecture facts, and the test and fuzz helpers.

if(WIN32)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(BRENNICOR_I686 ON)
  endif()
  # Every Windows program links the same way: each function in a section of
  # its own, so the linker drops what nothing reaches; optimised builds are
  # stripped. Data keeps its file's sections: given sections of their own,
  # zero-filled statics land in .data with file bytes instead of in .bss.
  # They are also built for size, as most of their code waits on the user or
  # the disk; the libraries whose loops set the speed are built for speed
  # instead (brennicor_speed_critical below).
  add_compile_options(-ffunction-sections $<$<CONFIG:Release>:-Os>)
  add_link_options(-Wl,--gc-sections $<$<CONFIG:Release>:-s>)
endif()
add_compile_options(-Wall -Wextra -Wno-unused-parameter)

# brennicor_speed_critical(target...): libraries whose inner loops set the
# speed of extraction and building (decoders, encoders, checksums, ciphers)
# keep full optimisation where the rest of an optimised build is sized down.
function(brennicor_speed_critical)
  foreach(target IN LISTS ARGN)
    if(TARGET ${target})
      target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-O3>)
    endif()
  endforeach()
endfunction()

# brennicor_never_throws(target...): libraries that neither throw nor catch
# are built without exception handling. Nothing above them handles an
# exception passing through them (the builder's handlers take its own
# exceptions, and the stub ends the program on every runtime failure). The
# 32-bit deliverables also leave out their unwind tables, which only an
# exception would read: a tenth of every built program. The 64-bit builds
# keep theirs, which that system's own unwinding reads; without them GCC
# there would no longer count on the stack alignment each call gives.
function(brennicor_never_throws)
  foreach(target IN LISTS ARGN)
    if(TARGET ${target})
      target_compile_options(${target} PRIVATE -fno-exceptions
                                               $<$<BOOL:${BRENNICOR_I686}>:-fno-asynchronous-unwind-tables>)
    endif()
  endforeach()
endfunction()

# Where a test program finds the checked-in fixtures and its scratch folder.
# Under Wine the Unix root is drive Z:.
set(BRENNICOR_TEST_WORK ${CMAKE_BINARY_DIR}/test-work)
file(MAKE_DIRECTORY ${BRENNICOR_TEST_WORK})
if(WIN32)
  set(BRENNICOR_PATH_PREFIX "Z:")
else()
  set(BRENNICOR_PATH_PREFIX "")
endif()

# Tests of file times run in a zone with summer time (Wine, like Python and
# Info-ZIP, takes it from TZ): a time converted by today's daylight offset in
# place of its own date's is then an hour off for half the year's dates.
set(BRENNICOR_SUMMER_TIME_ZONE "TZ=Europe/Berlin")

# brennicor_test(NAME n SOURCES ... [LIBS ...] [FIXTURES_REQUIRED ...] [FIXTURES_SETUP ...] [DESKTOP_INPUT]
#                [SUMMER_TIME])
# One test program, run as one process (under Wine in the Windows builds).
# DESKTOP_INPUT: the program sends real keys and clicks, which go to whatever
# window has the focus in the shared desktop, so it runs alone: a window of
# another test program cannot take the focus from it.
# SUMMER_TIME: the program runs in BRENNICOR_SUMMER_TIME_ZONE.
function(brennicor_test)
  cmake_parse_arguments(T "DESKTOP_INPUT;SUMMER_TIME" "NAME" "SOURCES;LIBS;FIXTURES_REQUIRED;FIXTURES_SETUP" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE
    BRENNICOR_TEST_DATA="${BRENNICOR_PATH_PREFIX}${CMAKE_SOURCE_DIR}/tests/fixtures"
    BRENNICOR_TEST_WORK="${BRENNICOR_PATH_PREFIX}${BRENNICOR_TEST_WORK}")
  if(WIN32)
    target_link_options(${T_NAME} PRIVATE -mconsole)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  # Under Wine a crash can still end with code 0; its report gives it away.
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 600
    FAIL_REGULAR_EXPRESSION "wine: Unhandled|Unhandled exception")
  if(T_FIXTURES_REQUIRED)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED "${T_FIXTURES_REQUIRED}")
  endif()
  if(T_FIXTURES_SETUP)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_SETUP "${T_FIXTURES_SETUP}")
  endif()
  if(T_SUMMER_TIME)
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT ${BRENNICOR_SUMMER_TIME_ZONE})
  endif()
  if(T_DESKTOP_INPUT)
    set_tests_properties(${T_NAME} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# brennicor_python_test(NAME n SCRIPT s [ARGS ...] [FIXTURES_REQUIRED ...] [FIXTURES_SETUP ...] [SUMMER_TIME])
# A check run natively with Python, for tools that cannot run inside Wine
# (Info-ZIP, 7-Zip, zlib, cryptography): it makes inputs for a test program or
# checks what one wrote into the scratch folder. SUMMER_TIME as above, for
# the tools that make or check the times a program under test handles.
function(brennicor_python_test)
  cmake_parse_arguments(T "SUMMER_TIME" "NAME;SCRIPT" "ARGS;FIXTURES_REQUIRED;FIXTURES_SETUP" ${ARGN})
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME ${T_NAME} COMMAND ${Python3_EXECUTABLE} ${T_SCRIPT} ${T_ARGS})
  set(zone "")
  if(T_SUMMER_TIME)
    set(zone ";${BRENNICOR_SUMMER_TIME_ZONE}")
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 600
    # PYTHONOPTIMIZE emptied: an optimising environment would skip the checks' asserts.
    ENVIRONMENT "BRENNICOR_TEST_WORK=${BRENNICOR_TEST_WORK};BRENNICOR_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/fixtures;BRENNICOR_BINARY_DIR=${CMAKE_BINARY_DIR};PYTHONOPTIMIZE=${zone}")
  if(T_FIXTURES_REQUIRED)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED "${T_FIXTURES_REQUIRED}")
  endif()
  if(T_FIXTURES_SETUP)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_SETUP "${T_FIXTURES_SETUP}")
  endif()
endfunction()

# brennicor_fuzz(NAME n SOURCES ... [LIBS ...])
# A libFuzzer target, run by the tests for a short bounded time from its seed
# corpus in fuzz/corpus/<n> alone (cmake/RunFuzz.cmake): what it finds goes to
# a scratch folder emptied before each run, never into the checked-in seeds.
set(BRENNICOR_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz target runs in the tests")
function(brennicor_fuzz)
  cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${F_NAME} ${F_SOURCES})
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  add_test(NAME ${F_NAME}
    COMMAND ${CMAKE_COMMAND} -DFUZZER=$<TARGET_FILE:${F_NAME}> -DSECONDS=${BRENNICOR_FUZZ_SECONDS}
            -DSCRATCH=${CMAKE_BINARY_DIR}/fuzz-scratch/${F_NAME} -DSEEDS=${CMAKE_SOURCE_DIR}/fuzz/corpus/${F_NAME}
            -P ${CMAKE_SOURCE_DIR}/cmake/RunFuzz.cmake)
  set_tests_properties(${F_NAME} PROPERTIES TIMEOUT 600)
endfunction()
