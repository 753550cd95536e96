cmake_minimum_required(VERSION 3.25)

# Xlib defines macros such as None, Bool, True, False and Status that collide with ordinary names,
# so it stays in the sources that talk to X. Every header of the toolkit, the drawing code and
# the game must keep clear of the X11 headers, even through the headers it includes; only the
# ones listed below work with X and may include it. The same check keeps the layers one-way where
# a stray include would most easily turn them round: graphics/ never includes toolkit/. The rules
# go further: their library links no X at all, so that they and their tests build and run where
# there is no X.
#
#   cmake -DCOMPILER=<c++ compiler> -DROOT=<source folder> -DWORK=<scratch folder>
#         -DRULES_LINKS=<the rules library's links, one a line, as the build writes them> -P <this file>

file(STRINGS "${RULES_LINKS}" rulesLinks)
if(NOT "korvanta_util" IN_LIST rulesLinks)
  message(FATAL_ERROR "the rules library's links were not found in ${RULES_LINKS}")
endif()
list(FILTER rulesLinks INCLUDE REGEX "X11|korvanta_toolkit|korvanta_game")
if(rulesLinks)
  list(JOIN rulesLinks "\n  " offenders)
  message(FATAL_ERROR "The rules library links X, directly or through another library:\n  ${offenders}\n"
                      "The rules decide on plain data; what needs X belongs to the forms that show them.")
endif()

set(workWithX
  toolkit/DisplayConnection.h
  toolkit/TrafficMeter.h
  toolkit/ImageFrame.h
  toolkit/MyImage.h
  graphics/DrawContext.h
)

# The drawing code lies below the toolkit: it draws on a target it is handed and knows no element,
# so no file of graphics/ may include a toolkit/ header.
file(GLOB drawing RELATIVE "${ROOT}" "${ROOT}/graphics/*.h" "${ROOT}/graphics/*.cpp")
set(upwards "")
foreach(file IN LISTS drawing)
  file(STRINGS "${ROOT}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]toolkit/")
  if(includes)
    string(APPEND upwards "  ${file}\n")
  endif()
endforeach()
if(upwards)
  message(FATAL_ERROR "These files of graphics/ include a toolkit/ header:\n${upwards}"
                      "Hand the drawing code what it needs (a DrawTarget) instead.")
endif()

file(GLOB headers RELATIVE "${ROOT}" "${ROOT}/toolkit/*.h" "${ROOT}/graphics/*.h" "${ROOT}/game/*.h")
list(REMOVE_ITEM headers ${workWithX})
if(NOT "toolkit/GUIElement.h" IN_LIST headers OR NOT "game/FormMain.h" IN_LIST headers)
  message(FATAL_ERROR "the headers were not found under ${ROOT}")
endif()

# The headers each header pulls in, as the compiler's dependency list; true when X11 is among them.
function(reaches_x11 source result)
  execute_process(COMMAND "${COMPILER}" -std=c++20 "-I${ROOT}" -x c++ -M "${source}"
                  OUTPUT_VARIABLE dependencies ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot preprocess ${source}:\n${errors}")
  endif()
  string(FIND "${dependencies}" "/X11/" found)
  if(found EQUAL -1)
    set(${result} FALSE PARENT_SCOPE)
  else()
    set(${result} TRUE PARENT_SCOPE)
  endif()
endfunction()

# One pass over all of them together; only when X gets in is each looked at alone, to name it.
set(together "")
foreach(header IN LISTS headers)
  string(APPEND together "#include \"${header}\"\n")
endforeach()
file(WRITE "${WORK}/XlibStaysInItsSources.cpp" "${together}")
reaches_x11("${WORK}/XlibStaysInItsSources.cpp" any)
if(NOT any)
  list(LENGTH headers count)
  message(STATUS "${count} headers keep clear of X11")
  return()
endif()

set(offenders "")
foreach(header IN LISTS headers)
  file(WRITE "${WORK}/XlibStaysInItsSources.cpp" "#include \"${header}\"\n")
  reaches_x11("${WORK}/XlibStaysInItsSources.cpp" reached)
  if(reached)
    string(APPEND offenders "  ${header}\n")
  endif()
endforeach()
message(FATAL_ERROR "These headers include an X11 header, directly or through another header:\n${offenders}"
                    "Include Xlib in the .cpp file instead and pass X's types on with graphics/XHandles.h.")
