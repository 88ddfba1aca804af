# Copies the repository's data/ folder beside the programs, file by file, so
# that files the program creates there (the database, the error log) are kept.
file(GLOB_RECURSE mldd_shipped_files RELATIVE ${CMAKE_SOURCE_DIR}/data
     CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
set(mldd_shipped_outputs)
foreach(file IN LISTS mldd_shipped_files)
  set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/data/${file})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/data/${file} ${out}
    DEPENDS ${CMAKE_SOURCE_DIR}/data/${file})
  list(APPEND mldd_shipped_outputs ${out})
endforeach()
add_custom_target(shipped_data ALL DEPENDS ${mldd_shipped_outputs})
