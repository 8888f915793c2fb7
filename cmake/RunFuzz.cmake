# Runs one fuzz target for the tests, from its checked-in seeds only:
#   cmake -DFUZZER=<program> -DSECONDS=<n> -DSCRATCH=<folder> -DSEEDS=<folder> -P RunFuzz.cmake
# The scratch folder, where the run keeps the inputs it finds and any fault's
# input, starts empty each time, so that what a run finds does not hang on
# what earlier runs in the same build tree happened to find. A find worth
# keeping is copied into the seeds deliberately.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/corpus)
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -rss_limit_mb=2048 -artifact_prefix=${SCRATCH}/ ${SCRATCH}/corpus
          ${SEEDS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); its input is kept in ${SCRATCH}")
endif()
