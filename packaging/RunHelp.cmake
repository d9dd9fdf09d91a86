# cmake -DPROGRAM=... -DOUTPUT=... -P RunHelp.cmake: writes what PROGRAM --help prints to OUTPUT,
# and fails when the program fails or prints nothing.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed: ${status}")
endif()
file(SIZE ${OUTPUT} size)
if(size EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help printed nothing")
endif()
