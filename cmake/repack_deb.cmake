# Run by CPack once the package is built: repacks it so that the same commit gives the same bytes.
# The times come from SOURCE_DATE_EPOCH, else from the last commit, else from the release date.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C ${CPACK_QUARROW_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status ERROR_QUIET)
  if(NOT status EQUAL 0 OR epoch STREQUAL "")
    execute_process(COMMAND date -u -d "${CPACK_QUARROW_RELEASE_DATE}" +%s
      OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND sh ${CPACK_QUARROW_SOURCE_DIR}/cmake/repack_deb.sh ${deb}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
