# The page: the program as velkora.js, velkora.wasm and velkora.data (its images), with
# the page of web/, put together in site/: a static folder that any web server can serve.
set(VELKORA_PROGRAM_DIR ${CMAKE_BINARY_DIR}/program)
set_target_properties(velkora PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${VELKORA_PROGRAM_DIR})
file(GLOB VELKORA_PAGE_IMAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/img/*.bmp)
target_link_options(velkora PRIVATE
    # SDL's renderer and the program's own OpenGL calls share the canvas's one context;
    # the link, not the context attributes, sets its version.
    -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1
    # Components are never freed: placing many grows the heap.
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web
    # A program that ends (one that cannot start, say) ends its runtime too, so the page
    # hears of it and says so.
    -sEXIT_RUNTIME=1
    # The page names the element that takes the keys, through SDL's hint in the environment,
    # and reads the circuit query's answer out of the program's memory.
    -sEXPORTED_RUNTIME_METHODS=ENV,UTF8ToString
    # The images at img/ in the page's file system, where the program looks for them.
    --preload-file ${CMAKE_SOURCE_DIR}/img@/img "SHELL:--exclude-file ${CMAKE_SOURCE_DIR}/img/icons")
set_property(TARGET velkora APPEND PROPERTY LINK_DEPENDS ${VELKORA_PAGE_IMAGES})
# The read-only query the page's words are made from. Nothing in the program calls it, so it
# is linked into the page's program itself: from the library it would never be pulled in.
target_sources(velkora PRIVATE ${CMAKE_SOURCE_DIR}/app/circuit_query_web.cpp)

set(VELKORA_SITE_DIR ${CMAKE_BINARY_DIR}/site)
file(GLOB VELKORA_PAGE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/web/*)
add_custom_command(
    OUTPUT ${VELKORA_SITE_DIR}/index.html
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=${VELKORA_PROGRAM_DIR} -DWEB=${CMAKE_SOURCE_DIR}/web
            -DICONS=${CMAKE_SOURCE_DIR}/img/icons -DSITE=${VELKORA_SITE_DIR}
            -P ${CMAKE_SOURCE_DIR}/web/site.cmake
    DEPENDS velkora ${VELKORA_PAGE_SOURCES} ${CMAKE_SOURCE_DIR}/img/icons/32.png
            ${CMAKE_SOURCE_DIR}/img/icons/192.png ${CMAKE_SOURCE_DIR}/img/icons/512.png
            ${CMAKE_SOURCE_DIR}/img/icons/scalable.svg
            ${CMAKE_SOURCE_DIR}/img/icons/maskable/512.png
            ${CMAKE_SOURCE_DIR}/img/icons/maskable/180.png
    COMMENT "Putting the page together in ${VELKORA_SITE_DIR}"
    VERBATIM)
add_custom_target(site ALL DEPENDS ${VELKORA_SITE_DIR}/index.html)
