# Lays the shipped data into the program directory: a file is copied when the program
# directory lacks it or holds an older copy, so what a user changed there survives a rebuild.
# -D SRC=<folder> -D DST=<folder>
file(GLOB_RECURSE files RELATIVE ${SRC} LIST_DIRECTORIES false ${SRC}/*)
foreach(f ${files})
    if(f MATCHES "(^|/)\\.keep$")
        get_filename_component(d ${DST}/${f} DIRECTORY)
        file(MAKE_DIRECTORY ${d})
        continue()
    endif()
    if(NOT EXISTS ${DST}/${f} OR ${SRC}/${f} IS_NEWER_THAN ${DST}/${f})
        get_filename_component(d ${DST}/${f} DIRECTORY)
        file(COPY ${SRC}/${f} DESTINATION ${d})
    endif()
endforeach()
