# cmake -DPYTHON=... -DGENERATOR=gen.py -DOUT=again.cpp -DBUILT=built.cpp -P CompareGenerated.cmake
# Runs the generator again and fails unless it writes the bytes the build used.
execute_process(COMMAND ${PYTHON} ${GENERATOR} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${BUILT} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} wrote other bytes than the build used (${BUILT})")
endif()
