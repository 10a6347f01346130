# Puts the page together in SITE (run by the page's build): the entry page, the service
# worker and the web app manifest under names that never change, and every other file of
# the build in a folder named by a hash of all of them. Caches may keep a build's folder
# for ever; a page only ever names its own build's folder, so it never meets a mix of two.
#   cmake -DPROGRAM=<velkora.js's folder> -DWEB=<web/> -DICONS=<img/icons/> -DSITE=<out> -P site.cmake
file(GLOB modules ${WEB}/*.js)
list(REMOVE_ITEM modules ${WEB}/sw.js)
file(REMOVE_RECURSE ${SITE})
# The file packager stamps each link's velkora.js with a random id, which only its cache in
# the browser's database reads, and the page does not use that cache. The data's own digest
# stands in for it, so that two links of the same sources give the same velkora.js.
file(READ ${PROGRAM}/velkora.js program)
file(SHA256 ${PROGRAM}/velkora.data data_digest)
string(REGEX REPLACE "\"package_uuid\":\"[^\"]*\"" "\"package_uuid\":\"${data_digest}\""
       program "${program}")
file(WRITE ${SITE}/velkora.js "${program}")
set(files ${SITE}/velkora.js ${PROGRAM}/velkora.wasm ${PROGRAM}/velkora.data
    ${WEB}/page.css ${modules})
# The icons under the names the page and the manifest give them. A maskable icon fills its
# square (a launcher cuts its own shape out of it), as a home screen's icon must.
set(icon_sources ${ICONS}/32.png ${ICONS}/192.png ${ICONS}/512.png ${ICONS}/scalable.svg
    ${ICONS}/maskable/512.png ${ICONS}/maskable/180.png)
set(icon_names icon-32.png icon-192.png icon-512.png icon.svg icon-maskable-512.png
    icon-touch-180.png)
set(fixed index.html sw.js manifest.webmanifest)

# Named by what the visitor gets, each file's name in the site and its contents, and by
# nothing of where it was built: the same build from any checkout has the same name, and a
# rebuild elsewhere costs no visitor a download.
set(digests "")
foreach(file IN LISTS files)
    get_filename_component(name ${file} NAME)
    file(SHA256 ${file} digest)
    string(APPEND digests "${name} ${digest}\n")
endforeach()
foreach(source name IN ZIP_LISTS icon_sources icon_names)
    file(SHA256 ${source} digest)
    string(APPEND digests "${name} ${digest}\n")
endforeach()
foreach(name IN LISTS fixed)
    file(SHA256 ${WEB}/${name} digest)
    string(APPEND digests "${name} ${digest}\n")
endforeach()
string(SHA256 VELKORA_BUILD "${digests}")
string(SUBSTRING ${VELKORA_BUILD} 0 12 VELKORA_BUILD)

file(COPY ${files} DESTINATION ${SITE}/${VELKORA_BUILD})
file(REMOVE ${SITE}/velkora.js)
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
