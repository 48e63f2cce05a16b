# Appends four zero bytes to FILE unless it already ends in four.
file(SIZE "${FILE}" size)
math(EXPR offset "${size} - 4")
file(READ "${FILE}" tail OFFSET ${offset} LIMIT 4 HEX)
if(NOT tail STREQUAL "00000000")
  execute_process(COMMAND sh -c "printf '\\000\\000\\000\\000' >> \"$0\"" "${FILE}")
endif()
