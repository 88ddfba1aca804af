# Copies a folder of the repository beside the programs, file by file, so that
# files the programs create there (the database, the error log) are kept. An
# optional fourth argument is added to every copied file's name.
function(mldd_copy_folder target source destination)
  set(suffix "${ARGV3}")
  file(GLOB_RECURSE files RELATIVE ${source} CONFIGURE_DEPENDS ${source}/*)
  set(outputs)
  foreach(file IN LISTS files)
    set(out ${destination}/${file}${suffix})
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source}/${file} ${out}
      DEPENDS ${source}/${file}
      VERBATIM)
    list(APPEND outputs ${out})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()

mldd_copy_folder(shipped_data ${CMAKE_SOURCE_DIR}/data ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/data)

# The package's defaults are the files listed here, never whatever else lies in the data
# folder (a store, its journal or backups made by a run in the source tree).
file(GLOB_RECURSE MLDD_DEFAULT_FILES RELATIVE ${CMAKE_SOURCE_DIR}/data CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/data/*)
list(FILTER MLDD_DEFAULT_FILES EXCLUDE REGEX
     "^(mlddsj\\.db.*|backup/.*|defaults\\.sum|defaults\\.list|ERR\\.TXT|mldd\\.lock)$")
list(SORT MLDD_DEFAULT_FILES)
list(JOIN MLDD_DEFAULT_FILES "\n" defaults_text)
set(MLDD_DEFAULTS_MANIFEST ${CMAKE_BINARY_DIR}/defaults.list)
file(CONFIGURE OUTPUT ${MLDD_DEFAULTS_MANIFEST} CONTENT "${defaults_text}\n" @ONLY)

# The web service's content sits beside mldd-service, where it looks by default.
mldd_copy_folder(service_content ${CMAKE_SOURCE_DIR}/service/content
                 ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/service/content)
# The shipped courier templates are also the service's template board
# (NAME.mlg.txt, NAME.mlm.txt): the board offers what the program ships.
mldd_copy_folder(template_board ${CMAKE_SOURCE_DIR}/data/Delivery
                 ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/service/content/board .txt)
# The browser extension of the context-menu entry, loaded by the seller from beside the programs.
mldd_copy_folder(browser_extension ${CMAKE_SOURCE_DIR}/extension
                 ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/extension)
# The same extension signed, beside its folder: Chromium and Chrome install it from there
# without developer mode. The key keeps its id the one the host manifests allow.
file(GLOB extension_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/extension/*)
set(packed_extension ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/extension.crx)
add_custom_command(OUTPUT ${packed_extension}
  COMMAND ${CMAKE_SOURCE_DIR}/tools/pack-crx ${CMAKE_SOURCE_DIR}/extension
          ${CMAKE_SOURCE_DIR}/packaging/extension-key.pem ${packed_extension}
  DEPENDS ${extension_files} ${CMAKE_SOURCE_DIR}/packaging/extension-key.pem
          ${CMAKE_SOURCE_DIR}/tools/pack-crx
  VERBATIM)
add_custom_target(packed_extension ALL DEPENDS ${packed_extension})
add_dependencies(browser_extension packed_extension)
# The user guide that F1 opens; scripts/screenshot lays the windows' pictures into its images.
mldd_copy_folder(help_pages ${CMAKE_SOURCE_DIR}/help ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/help)
# The sample order pages, which the service also shows as web pages (samples/NAME.html).
mldd_copy_folder(service_samples ${CMAKE_SOURCE_DIR}/samples
                 ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/service/content/samples)
