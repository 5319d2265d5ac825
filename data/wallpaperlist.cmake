# Writes the shipped wallpaper list: the pictures of resource/wallpapers/, named relative to the
# program directory, so a program directory keeps its wallpapers wherever it is copied or
# installed. The file is left alone when it already holds that text.
# -D PROGDIR=<dir holding resource/wallpapers> -D LIST=<list file>
file(GLOB pics RELATIVE ${PROGDIR} ${PROGDIR}/resource/wallpapers/*.png ${PROGDIR}/resource/wallpapers/*.jpg)
list(SORT pics)
set(text "")
foreach(p ${pics})
    string(APPEND text "${p}\n")
endforeach()
if(EXISTS ${LIST})
    file(READ ${LIST} old)
    if(old STREQUAL text)
        return()
    endif()
endif()
file(WRITE ${LIST} "${text}")
