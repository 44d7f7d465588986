# Checks, from the compiler's own record of the headers each object of the
# dialogs' engines included, that no header of Qt Gui, Widgets or PrintSupport
# reaches them, and that every source of the engines' folder is one of those
# objects. Include paths prove nothing: Qt Core's include root holds every
# module's folder. An object without a record (a tree not yet built) fails, and
# so does a library without objects.
# Arguments: BUILD (the build tree), OBJECTS (the engines' objects, joined by
# "|"), ENGINES (the engines' folder), NINJA (Ninja, whose dependency log
# holds the records; empty for a generator that keeps the .d files).
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" objects "${OBJECTS}")
file(GLOB sources "${ENGINES}/*.cpp")
if(NOT sources)
  message(FATAL_ERROR "no engine source in ${ENGINES}")
endif()

# headers_of(OBJECT VAR): the files OBJECT was compiled from (its source, its
# headers and, with a sanitizer, the compiler's ignore lists) as absolute
# paths; empty when the build holds no record of it.
function(headers_of object var)
  if(NINJA)
    file(RELATIVE_PATH target "${BUILD}" "${object}")
    execute_process(COMMAND "${NINJA}" -C "${BUILD}" -t deps "${target}"
                    OUTPUT_VARIABLE record RESULT_VARIABLE failed)
    # "OBJECT: #deps N, ... (VALID)" and one indented file a line, or "deps not found".
    if(failed OR NOT record MATCHES "^[^\n]*: #deps [0-9]+")
      set(${var} "" PARENT_SCOPE)
      return()
    endif()
    string(REGEX MATCHALL "\n    [^\n]+" files "${record}")
    list(TRANSFORM files REPLACE "^\n    " "")
  elseif(EXISTS "${object}.d")
    # "OBJECT: SOURCE HEADER \" continued on the next lines; a blank in a name escaped.
    file(READ "${object}.d" record)
    string(REGEX REPLACE "\\\\\n" " " record "${record}")
    string(REPLACE "\\ " "\t" record "${record}")
    string(REGEX REPLACE "^[^:]+: *" "" record "${record}")
    string(REGEX MATCHALL "[^ \n]+" files "${record}")
    list(TRANSFORM files REPLACE "\t" " ")
  endif()
  list(TRANSFORM files PREPEND "${BUILD}/" REGEX "^[^/]")
  set(absolute "")
  foreach(file IN LISTS files)
    cmake_path(NORMAL_PATH file)
    list(APPEND absolute "${file}")
  endforeach()
  set(${var} "${absolute}" PARENT_SCOPE)
endfunction()

set(compiled "")
foreach(object IN LISTS objects)
  cmake_path(NORMAL_PATH object)
  headers_of("${object}" files)
  if(NOT files)
    message(SEND_ERROR "no record of the headers of ${object}: build the tree first")
    continue()
  endif()
  # The object of x.cpp is x.cpp.o.
  cmake_path(GET object STEM LAST_ONLY name)
  set(source "${object}")
  foreach(file IN LISTS files)
    cmake_path(GET file FILENAME file_name)
    if(file_name STREQUAL name)
      set(source "${file}")
      list(APPEND compiled "${file}")
      break()
    endif()
  endforeach()
  list(FILTER files INCLUDE REGEX "/Qt(Gui|Widgets|PrintSupport)/")
  if(files)
    list(LENGTH files count)
    list(GET files 0 first)
    message(SEND_ERROR "${source} includes ${count} headers of Qt Gui, Widgets or PrintSupport, first ${first}")
  endif()
endforeach()
if(NOT compiled)
  message(FATAL_ERROR "no engine object found (objects: ${objects})")
endif()
foreach(source IN LISTS sources)
  if(NOT source IN_LIST compiled)
    message(SEND_ERROR "${source} is not compiled in the engines' library")
  endif()
endforeach()
