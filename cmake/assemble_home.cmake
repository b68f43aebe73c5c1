# Copies app/ into the program folder beside the binaries.
# Files an author may change there (books in Projects/, Extra/ texts, style sheets,
# the installer template) are copied only when missing, so a rebuild never
# overwrites the author's work. Help/ belongs to the tool and is always refreshed.
file(GLOB_RECURSE entries RELATIVE ${SRC} ${SRC}/*)
foreach(rel IN LISTS entries)
  set(dst ${DST}/${rel})
  if(rel MATCHES "^Help/")
    configure_file(${SRC}/${rel} ${dst} COPYONLY)
  elseif(NOT EXISTS ${dst})
    get_filename_component(dir ${dst} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(COPY_FILE ${SRC}/${rel} ${dst})
  endif()
endforeach()
file(MAKE_DIRECTORY ${DST}/Output ${DST}/Projects ${DST}/Extra)
