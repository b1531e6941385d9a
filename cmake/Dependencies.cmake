# Imported targets for the system libraries, found through pkg-config. A
# library that is missing is simply not defined here; the folder that needs it
# fails to configure with a clear message.
function(velmorique_pkg target)
  if(NOT TARGET ${target})
    pkg_check_modules(${target} IMPORTED_TARGET GLOBAL ${ARGN})
    if(${target}_FOUND)
      add_library(Velmorique::${target} ALIAS PkgConfig::${target})
    endif()
  endif()
endfunction()

velmorique_pkg(sdl2 sdl2)
velmorique_pkg(epoxy epoxy)
velmorique_pkg(png libpng)
velmorique_pkg(zlib zlib)
velmorique_pkg(ogg ogg)
velmorique_pkg(vorbisfile vorbisfile)
velmorique_pkg(vorbisenc vorbisenc)
velmorique_pkg(freetype freetype2)
velmorique_pkg(ffmpeg libavformat libavcodec libavutil libswscale libswresample)

find_package(JPEG)
find_package(GIF)
velmorique_pkg(vorbis vorbis)
