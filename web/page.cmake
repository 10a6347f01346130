# The page: the program as velkora.js, velkora.wasm and velkora.data (its images), with
# the page of web/, together in site/: a static folder that any web server can serve.
set(VELKORA_SITE_DIR ${CMAKE_BINARY_DIR}/site)
set_target_properties(velkora PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${VELKORA_SITE_DIR})
file(GLOB VELKORA_PAGE_IMAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/img/*.bmp)
target_link_options(velkora PRIVATE
    # SDL's renderer and the program's own OpenGL calls share the canvas's one context;
    # the link, not the context attributes, sets its version.
    -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1
    # Components are never freed: placing many grows the heap.
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web
    # The page names the element that takes the keys, through SDL's hint in the environment.
    -sEXPORTED_RUNTIME_METHODS=ENV
    # The images at img/ in the page's file system, where the program looks for them.
    --preload-file ${CMAKE_SOURCE_DIR}/img@/img "SHELL:--exclude-file ${CMAKE_SOURCE_DIR}/img/icons")
set_property(TARGET velkora APPEND PROPERTY LINK_DEPENDS ${VELKORA_PAGE_IMAGES})

foreach(file index.html page.js page.css)
    configure_file(${CMAKE_SOURCE_DIR}/web/${file} ${VELKORA_SITE_DIR}/${file} COPYONLY)
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/img/icons/32.png ${VELKORA_SITE_DIR}/velkora.png COPYONLY)
