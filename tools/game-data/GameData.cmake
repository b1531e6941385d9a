# The game's data is made by the build. Each generator folder includes this
# file and registers its run with velmorique_game_data(); at the end of the
# configuration one command packs data/Ressources into data/Ressources.dat
# and the target game-data (part of "all") depends on every run.
#
#   velmorique_game_data(<name> TOOL <target> [ARGS ...] [DEPENDS files...] [ARCHIVED])
#
# runs the tool once with the arguments (generator expressions allowed) and
# records a stamp file; the run is repeated only when the tool or one of the
# DEPENDS files changes. ARCHIVED means the tool writes below
# ${VELMORIQUE_RESSOURCES_DIR}, so the archive is packed again after it.
# Variables are set in the scope of every folder that includes this file;
# the functions and the final step are defined once.
set(VELMORIQUE_DATA_DIR ${CMAKE_BINARY_DIR}/data)
set(VELMORIQUE_RESSOURCES_DIR ${VELMORIQUE_DATA_DIR}/Ressources)
set(VELMORIQUE_ASSETS_DIR ${PROJECT_SOURCE_DIR}/assets)
set(VELMORIQUE_DATA_STAMP_DIR ${CMAKE_BINARY_DIR}/data-stamps)
file(MAKE_DIRECTORY ${VELMORIQUE_DATA_STAMP_DIR} ${VELMORIQUE_RESSOURCES_DIR})

get_property(already GLOBAL PROPERTY VELMORIQUE_GAME_DATA_DEFINED)
if(already)
  return()
endif()
set_property(GLOBAL PROPERTY VELMORIQUE_GAME_DATA_DEFINED TRUE)

# Fonts installed by tools/install-deps (fonts-urw-base35, fonts-noto-color-emoji).
function(velmorique_find_font variable file)
  find_file(${variable} NAMES ${file} PATHS /usr/share/fonts /usr/local/share/fonts
            PATH_SUFFIXES opentype/urw-base35 truetype/noto type1/urw-base35 X11/Type1 NO_DEFAULT_PATH)
  if(NOT ${variable})
    message(FATAL_ERROR "The font ${file} is missing: run tools/install-deps")
  endif()
endfunction()
velmorique_find_font(VELMORIQUE_FONT_NARROW NimbusSansNarrow-Regular.otf)
velmorique_find_font(VELMORIQUE_FONT_NARROW_BOLD NimbusSansNarrow-Bold.otf)
velmorique_find_font(VELMORIQUE_FONT_GOTHIC_DEMI URWGothic-Demi.otf)
velmorique_find_font(VELMORIQUE_FONT_SERIF_BOLD C059-Bold.otf)
velmorique_find_font(VELMORIQUE_FONT_PALATINO_BOLD P052-Bold.otf)
velmorique_find_font(VELMORIQUE_FONT_SERIF C059-Roman.otf)
velmorique_find_font(VELMORIQUE_FONT_SERIF_ITALIC C059-Italic.otf)
velmorique_find_font(VELMORIQUE_FONT_EMOJI NotoColorEmoji.ttf)

function(velmorique_game_data name)
  cmake_parse_arguments(ARG "ARCHIVED" "TOOL" "ARGS;DEPENDS" ${ARGN})
  set(stamp ${VELMORIQUE_DATA_STAMP_DIR}/${name}.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${ARG_TOOL} ${ARG_ARGS}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${ARG_TOOL} ${ARG_DEPENDS}
    COMMENT "Generating game data: ${name}"
    VERBATIM)
  add_custom_target(data-${name} DEPENDS ${stamp})
  set_property(GLOBAL APPEND PROPERTY VELMORIQUE_DATA_TARGETS data-${name})
  set_property(GLOBAL APPEND PROPERTY VELMORIQUE_DATA_STAMPS ${stamp})
  if(ARG_ARCHIVED)
    set_property(GLOBAL APPEND PROPERTY VELMORIQUE_ARCHIVE_STAMPS ${stamp})
  endif()
endfunction()

# velmorique_archive_input(<target> <files>...): a folder that places files
# under data/Ressources with commands of its own names them here, so that the
# archive is packed after them and again whenever they change.
function(velmorique_archive_input target)
  set_property(GLOBAL APPEND PROPERTY VELMORIQUE_DATA_TARGETS ${target})
  set_property(GLOBAL APPEND PROPERTY VELMORIQUE_ARCHIVE_STAMPS ${ARGN})
endfunction()

# Runs once, after every folder has registered its generators.
function(velmorique_finish_game_data)
  get_property(targets GLOBAL PROPERTY VELMORIQUE_DATA_TARGETS)
  get_property(stamps GLOBAL PROPERTY VELMORIQUE_DATA_STAMPS)
  get_property(archived GLOBAL PROPERTY VELMORIQUE_ARCHIVE_STAMPS)
  # Runs in the top folder's scope: the paths are set again here.
  set(archive ${CMAKE_BINARY_DIR}/data/Ressources.dat)
  add_custom_command(
    OUTPUT ${archive}
    # The language file is the program's own output (written at its first
    # start beside the archive); a copy packed in would stop it ever being
    # written again.
    COMMAND ${CMAKE_COMMAND} -E rm -f ${CMAKE_BINARY_DIR}/data/Ressources/lang.ini
    COMMAND archive-builder ${CMAKE_BINARY_DIR}/data/Ressources ${archive} "data\\Ressources"
    DEPENDS archive-builder ${archived}
    COMMENT "Packing data/Ressources into data/Ressources.dat"
    VERBATIM)
  add_custom_target(game-data ALL DEPENDS ${archive} ${stamps})
  if(targets)
    add_dependencies(game-data ${targets})
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL velmorique_finish_game_data)
