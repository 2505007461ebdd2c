# Checks that every library folder includes only its own headers and those of
# the folders below it, and that the folders below the viewer include no Qt
# header. Run as a script:
#   cmake -DROOT=<source tree> -P cmake/CheckLayers.cmake
# It prints each offending include and fails when there is one.
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
  message(FATAL_ERROR "CheckLayers: pass -DROOT=<source tree>")
endif()

# Each library folder and the folders it may include from, lowest first
# ("folder:below,below,...").
set(layers
  "util"
  "images:util"
  "gfx:util,images"
  "search:util"
  "html/parse:util"
  "html/style:util,gfx,images,html/parse"
  "html/layout:util,gfx,images,html/parse,html/style"
  "html/build:util,gfx,images,html/parse,html/style,html/layout"
  "html/viewer:util,gfx,images,html/parse,html/style,html/layout,html/build")
# These build, test and fuzz without a display: no toolkit headers.
set(qt_free util images gfx search html/parse html/style html/layout html/build)

# Every project folder an include can name, so "html/layout/X.h" is told apart
# from "html/parse/X.h" by its longest matching prefix.
set(known_folders util images gfx search html/parse html/style html/layout html/build html/viewer app)

set(violations "")
foreach(entry IN LISTS layers)
  string(REPLACE ":" ";" parts "${entry}")
  string(REPLACE "," ";" parts "${parts}")
  list(GET parts 0 folder)
  list(LENGTH parts count)
  set(allowed "${folder}")
  if(count GREATER 1)
    list(SUBLIST parts 1 -1 lower)
    list(APPEND allowed ${lower})
  endif()
  file(GLOB sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    file(RELATIVE_PATH shown "${ROOT}" "${source}")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
        set(header "${CMAKE_MATCH_1}")
        set(owner "")
        foreach(candidate IN LISTS known_folders)
          string(FIND "${header}" "${candidate}/" at)
          if(at EQUAL 0)
            set(owner "${candidate}")
          endif()
        endforeach()
        if(owner AND NOT owner IN_LIST allowed)
          list(APPEND violations "${shown}: includes ${header} from ${owner}, above ${folder}")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*|qt[a-z]*/)" AND folder IN_LIST qt_free)
        list(APPEND violations "${shown}: includes a Qt header in ${folder}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " report)
  message(FATAL_ERROR "Layer check failed: a library includes a header of a higher layer\n  ${report}")
endif()
message(STATUS "Layer check: every library includes only itself and lower layers")
