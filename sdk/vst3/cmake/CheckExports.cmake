# cmake -DNM=nm -DMODULE=x.so -DEXPECTED=a,b,c -P CheckExports.cmake
# Fails unless the module's defined dynamic symbols are exactly the expected ones.
execute_process(COMMAND ${NM} -D --defined-only ${MODULE}
                OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${MODULE}")
endif()
string(REPLACE "," ";" expected "${EXPECTED}")
string(REPLACE "\n" ";" lines "${listing}")
set(found)
foreach(line IN LISTS lines)
  # "<address> <type> <name>[@@version]"
  if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] ([^@ ]+)")
    list(APPEND found ${CMAKE_MATCH_1})
  endif()
endforeach()
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  set(extra ${found})
  list(REMOVE_ITEM extra ${expected})
  set(missing ${expected})
  if(found)
    list(REMOVE_ITEM missing ${found})
  endif()
  message(FATAL_ERROR "${MODULE} exports other symbols than its entry points.\n"
                      "  unexpected: ${extra}\n  missing: ${missing}")
endif()
message(STATUS "exports: ${found}")
