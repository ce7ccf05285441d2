# The WebAssembly build (emcmake): the runner for Node, checked against the native traces, and the
# page, written to QUARROW_WEB_DIR with its own files.

set(QUARROW_WEB_DIR ${CMAKE_BINARY_DIR}/page CACHE PATH "Where the page is written")

# What the trials found fastest under V8: the twister's renewal vectorised, doubles converted to
# integers without traps, and exceptions as WebAssembly exceptions, so that a fault still reports.
set(web_flags -msimd128 -mnontrapping-fptoint -msign-ext -mbulk-memory -fwasm-exceptions)
if(CMAKE_BUILD_TYPE STREQUAL "Release")
  list(APPEND web_flags -O3 -flto)
endif()
foreach(target quarrow_core quarrow_text quarrow_render quarrow_play quarrow_sim_tool quarrow-sim
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

# The page's module: the core, its drawing and the play loop the window runs, called from the page.
add_executable(quarrow-page src/web/web_main.cpp)
target_compile_options(quarrow-page PRIVATE ${web_flags})
target_link_libraries(quarrow-page PRIVATE quarrow_play)
target_link_options(quarrow-page PRIVATE ${web_flags} -sENVIRONMENT=web -sMODULARIZE=1
  -sEXPORT_NAME=createQuarrow -sFILESYSTEM=0
  -sEXPORTED_RUNTIME_METHODS=[UTF8ToString,ccall])
set_target_properties(quarrow-page PROPERTIES OUTPUT_NAME quarrow SUFFIX .js
  RUNTIME_OUTPUT_DIRECTORY ${QUARROW_WEB_DIR})

# The page's own files; index.html and the manifest are given the core's title and court size,
# which live once, in C++.
set(fact_headers ${PROJECT_SOURCE_DIR}/src/game/platform.h ${PROJECT_SOURCE_DIR}/src/play/names.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${fact_headers})
file(READ ${PROJECT_SOURCE_DIR}/src/game/platform.h platform_h)
if(NOT platform_h MATCHES "kStandardCourt\\{([0-9]+), ([0-9]+)\\}")
  message(FATAL_ERROR "kStandardCourt not found in src/game/platform.h")
endif()
set(QUARROW_COURT_WIDTH ${CMAKE_MATCH_1})
set(QUARROW_COURT_HEIGHT ${CMAKE_MATCH_2})
file(READ ${PROJECT_SOURCE_DIR}/src/play/names.h names_h)
if(NOT names_h MATCHES "kProgramTitle = \"([^\"]+)\"")
  message(FATAL_ERROR "kProgramTitle not found in src/play/names.h")
endif()
set(QUARROW_TITLE ${CMAKE_MATCH_1})
set(kept_files quarrow.js quarrow.wasm icon.svg)

foreach(file src/web/index.html src/web/manifest.webmanifest src/web/page.js src/web/page.css
             src/web/shell.js)
  get_filename_component(name ${file} NAME)
  if(name MATCHES "^(index.html|manifest.webmanifest)$")
    configure_file(${file} ${QUARROW_WEB_DIR}/${name} @ONLY)
  else()
    configure_file(${file} ${QUARROW_WEB_DIR}/${name} COPYONLY)
  endif()
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
