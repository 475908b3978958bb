# cmake -DFUZZER=<fuzzer> -DCORPUS=<seed corpus> -DREGRESSIONS=<past failing inputs>
#       -DWORK=<scratch folder> -DRUNS=<number of runs> -P RunFuzzer.cmake
# Runs a libFuzzer target from a fixed seed for a fixed number of runs, so that every machine
# and every run tries the very same inputs: first every input of the seed corpus (a copy in
# WORK, to which the fuzzer adds what it finds) and of the regression folder, then RUNS inputs
# in all. Leaves any crash, leak or timeout input in WORK and fails when there is one.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${CORPUS}/ DESTINATION ${WORK}/corpus)
set(inputs ${WORK}/corpus)
if(IS_DIRECTORY ${REGRESSIONS})
    list(APPEND inputs ${REGRESSIONS})
endif()
execute_process(
    COMMAND ${FUZZER} -seed=1 -runs=${RUNS} -rss_limit_mb=2048 -timeout=60 -print_final_stats=1
            -artifact_prefix=${WORK}/ ${inputs}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${result}); the input that failed is in ${WORK}")
endif()
