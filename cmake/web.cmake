# The WebAssembly build (emcmake): the runner for Node, checked against the native traces, and the
# page, written to QUARROW_WEB_DIR with its own files.

set(QUARROW_WEB_DIR ${CMAKE_BINARY_DIR}/page CACHE PATH "Where the page is written")

# What the trials found fastest under V8: the twister's renewal vectorised, doubles converted to
# integers without traps, and exceptions as WebAssembly exceptions, so that a fault still reports.
set(web_flags -msimd128 -mnontrapping-fptoint -msign-ext -mbulk-memory -fwasm-exceptions)
if(CMAKE_BUILD_TYPE STREQUAL "Release")
  list(APPEND web_flags -O3 -flto)
endif()
foreach(target quarrow_core quarrow_text quarrow_render quarrow_sim_tool quarrow-sim
               quarrow-trig-values)
  target_compile_options(${target} PRIVATE ${web_flags})
endforeach()

# The runner for Node: the .wasm inside the script (Node 20's loader would fetch a plain path) and
# the host's files reachable for --trace and the other outputs.
target_link_options(quarrow-sim PRIVATE ${web_flags} -sENVIRONMENT=node -sNODERAWFS=1
  -sSINGLE_FILE=1 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)
set_target_properties(quarrow-sim PROPERTIES SUFFIX .js)

# The trigonometric values for Node, to compare with the native build's, written to a host's file.
target_link_options(quarrow-trig-values PRIVATE ${web_flags} -sENVIRONMENT=node -sNODERAWFS=1
  -sSINGLE_FILE=1 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)
set_target_properties(quarrow-trig-values PROPERTIES SUFFIX .js)

# The page's module: the core, its drawing and the window's input rules, called from the page.
add_executable(quarrow-page src/web/web_main.cpp src/app/inputs.cpp src/app/check_winner.cpp)
target_compile_options(quarrow-page PRIVATE ${web_flags})
target_link_libraries(quarrow-page PRIVATE quarrow_render quarrow_core)
target_link_options(quarrow-page PRIVATE ${web_flags} -sENVIRONMENT=web -sMODULARIZE=1
  -sEXPORT_NAME=createQuarrow -sFILESYSTEM=0
  -sEXPORTED_RUNTIME_METHODS=[UTF8ToString])
set_target_properties(quarrow-page PROPERTIES OUTPUT_NAME quarrow SUFFIX .js
  RUNTIME_OUTPUT_DIRECTORY ${QUARROW_WEB_DIR})

set(page_files src/web/index.html src/web/page.js src/web/page.css src/web/shell.js
  src/web/manifest.webmanifest)
set(kept_files quarrow.js quarrow.wasm icon.svg)
foreach(file ${page_files})
  get_filename_component(name ${file} NAME)
  configure_file(${file} ${QUARROW_WEB_DIR}/${name} COPYONLY)
  list(APPEND kept_files ${name})
endforeach()
configure_file(data/icons/${QUARROW_APP_ID}.svg ${QUARROW_WEB_DIR}/icon.svg COPYONLY)

# The sizes a browser wants to install the page, rendered from the program's icon.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
foreach(size 192 512)
  add_custom_command(OUTPUT ${QUARROW_WEB_DIR}/icon-${size}.png
    COMMAND ${RSVG_CONVERT} --width ${size} --height ${size}
      --output ${QUARROW_WEB_DIR}/icon-${size}.png ${CMAKE_CURRENT_SOURCE_DIR}/data/icons/${QUARROW_APP_ID}.svg
    DEPENDS data/icons/${QUARROW_APP_ID}.svg
    VERBATIM)
  list(APPEND kept_files icon-${size}.png)
endforeach()

# The service worker, named for the files it keeps, written after every one of them.
list(TRANSFORM kept_files PREPEND ${QUARROW_WEB_DIR}/ OUTPUT_VARIABLE kept_paths)
add_custom_command(OUTPUT ${QUARROW_WEB_DIR}/service_worker.js
  COMMAND ${CMAKE_COMMAND} -DDIR=${QUARROW_WEB_DIR} "-DFILES=${kept_files}"
    -DTEMPLATE=${CMAKE_CURRENT_SOURCE_DIR}/src/web/service_worker.js.in
    -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/page_cache.cmake
  DEPENDS quarrow-page ${kept_paths} src/web/service_worker.js.in cmake/page_cache.cmake
  VERBATIM)
add_custom_target(quarrow-page-offline ALL DEPENDS ${QUARROW_WEB_DIR}/service_worker.js)
