# cmake -DFUZZER=<fuzzer> -DCORPUS=<seed corpus> -DWORK=<scratch folder> -P RunFuzzer.cmake
# Runs a libFuzzer target for 20 seconds from a fixed seed on a copy of the seed corpus in WORK, leaving any
# crash, leak or timeout input in WORK. Fails when the fuzzer found one.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${CORPUS}/ DESTINATION ${WORK}/corpus)
execute_process(
    COMMAND ${FUZZER} -seed=1 -max_total_time=20 -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
            -artifact_prefix=${WORK}/ ${WORK}/corpus
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${result}); the input that failed is in ${WORK}")
endif()
