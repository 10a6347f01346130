# Puts the page together in SITE (run by the page's build): the entry page, the service
# worker and the web app manifest under names that never change, and every other file of
# the build in a folder named by a hash of all of them. Caches may keep a build's folder
# for ever; a page only ever names its own build's folder, so it never meets a mix of two.
#   cmake -DPROGRAM=<velkora.js's folder> -DWEB=<web/> -DICONS=<img/icons/> -DSITE=<out> -P site.cmake
file(GLOB modules ${WEB}/*.js)
list(REMOVE_ITEM modules ${WEB}/sw.js)
set(files ${PROGRAM}/velkora.js ${PROGRAM}/velkora.wasm ${PROGRAM}/velkora.data
    ${WEB}/page.css ${modules})
# The icons under the names the page and the manifest give them.
set(icon_sources ${ICONS}/32.png ${ICONS}/192.png ${ICONS}/512.png ${ICONS}/scalable.svg)
set(icon_names icon-32.png icon-192.png icon-512.png icon.svg)
set(fixed index.html sw.js manifest.webmanifest)

set(digests "")
foreach(file IN LISTS files icon_sources fixed)
    if(NOT IS_ABSOLUTE ${file})
        set(file ${WEB}/${file})
    endif()
    file(SHA256 ${file} digest)
    string(APPEND digests "${file} ${digest}\n")
endforeach()
string(SHA256 VELKORA_BUILD "${digests}")
string(SUBSTRING ${VELKORA_BUILD} 0 12 VELKORA_BUILD)

file(REMOVE_RECURSE ${SITE})
file(COPY ${files} DESTINATION ${SITE}/${VELKORA_BUILD})
set(listed "")
foreach(file IN LISTS files)
    get_filename_component(name ${file} NAME)
    list(APPEND listed "'${VELKORA_BUILD}/${name}'")
endforeach()
foreach(source name IN ZIP_LISTS icon_sources icon_names)
    configure_file(${source} ${SITE}/${VELKORA_BUILD}/${name} COPYONLY)
    list(APPEND listed "'${VELKORA_BUILD}/${name}'")
endforeach()
list(APPEND listed "'manifest.webmanifest'")
list(JOIN listed ", " VELKORA_FILES)
foreach(name IN LISTS fixed)
    configure_file(${WEB}/${name} ${SITE}/${name} @ONLY)
endforeach()
