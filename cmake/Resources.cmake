# Files embedded in a program as its resources (platform/win/Resources.h).
#
#   embed_resources(<target> <folder>)
#
# <folder>/resources.txt lists one resource a line: its name, its type and its file (relative to
# the folder), and optionally a numeric id (1..65535); a name of "-" gives a resource that has
# only its id. Types are the standard names (RCDATA, BITMAP, ICON, ...) or a word of the
# program's own. "#" starts a comment. The build turns the list into a source of <target> that
# registers the resources when the program starts. Give it the program (or test program) itself:
# a static library drops an object file that nothing refers to, and the registration with it.

if(CMAKE_SCRIPT_MODE_FILE)
  # Run as a script by the build: the project's policies (empty list items are kept).
  cmake_policy(VERSION 3.25)
endif()
set(RWB_RESOURCES_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

# The manifest's entries as "name|type|file|id" items; stops the configuration on a bad line.
function(_rwb_read_resource_list manifest out)
  file(STRINGS ${manifest} lines ENCODING UTF-8)
  set(entries)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*$" "" line "${line}")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
    list(LENGTH fields n)
    if(n LESS 3 OR n GREATER 4)
      message(FATAL_ERROR "${manifest}: \"${line}\": expected name, type, file and an optional id")
    endif()
    list(GET fields 0 name)
    list(GET fields 1 type)
    list(GET fields 2 file)
    set(id 0)
    if(n EQUAL 4)
      list(GET fields 3 id)
      if(NOT id MATCHES "^[0-9]+$" OR id LESS 1 OR id GREATER 65535)
        message(FATAL_ERROR "${manifest}: \"${line}\": the id must be a number from 1 to 65535")
      endif()
    endif()
    if(name STREQUAL "-")
      set(name "")
      if(id EQUAL 0)
        message(FATAL_ERROR "${manifest}: \"${line}\": a resource without a name needs an id")
      endif()
    endif()
    if("${name}${type}" MATCHES "[\"\\\\|]")
      message(FATAL_ERROR "${manifest}: \"${line}\": names and types cannot hold quotes, backslashes or |")
    endif()
    list(APPEND entries "${name}|${type}|${file}|${id}")
  endforeach()
  set(${out} ${entries} PARENT_SCOPE)
endfunction()

function(embed_resources target folder)
  get_filename_component(folder ${folder} ABSOLUTE)
  set(manifest ${folder}/resources.txt)
  if(NOT EXISTS ${manifest})
    message(FATAL_ERROR "embed_resources: ${manifest} does not exist")
  endif()
  # A changed list configures again, so the build depends on the files it names now.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${manifest})
  _rwb_read_resource_list(${manifest} entries)
  set(files)
  foreach(entry IN LISTS entries)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 2 file)
    if(NOT EXISTS ${folder}/${file})
      message(FATAL_ERROR "${manifest}: ${file} does not exist")
    endif()
    list(APPEND files ${folder}/${file})
  endforeach()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DRWB_MANIFEST=${manifest} -DRWB_OUTPUT=${out} -P ${RWB_RESOURCES_SCRIPT}
    DEPENDS ${manifest} ${files} ${RWB_RESOURCES_SCRIPT}
    COMMENT "Embedding the resources of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
  target_link_libraries(${target} PRIVATE platform_win)
endfunction()

# Script mode: writes the registering source for one manifest.
if(CMAKE_SCRIPT_MODE_FILE AND RWB_MANIFEST)
  get_filename_component(folder ${RWB_MANIFEST} DIRECTORY)
  _rwb_read_resource_list(${RWB_MANIFEST} entries)
  set(arrays "")
  set(calls "")
  set(index 0)
  foreach(entry IN LISTS entries)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 name)
    list(GET fields 1 type)
    list(GET fields 2 file)
    list(GET fields 3 id)
    file(READ ${folder}/${file} hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # One byte more than the file, so an empty file still makes an array.
    string(APPEND arrays "// ${file}\nconst uint8_t kData${index}[] = {${bytes}0};\n")
    string(APPEND calls "        win::RegisterResource(\"${type}\", \"${name}\", ${id}, kData${index}, ${size});\n")
    math(EXPR index "${index} + 1")
  endforeach()
  file(WRITE ${RWB_OUTPUT}.new
"// Made by the build from ${RWB_MANIFEST}; edit that list instead.
#include <cstdint>

#include \"platform/win/Resources.h\"

namespace {

${arrays}
struct Registration {
    Registration() {
${calls}    }
} gRegistration;

}  // namespace
")
  # Unchanged output keeps its time stamp, so nothing is compiled again for nothing.
  file(COPY_FILE ${RWB_OUTPUT}.new ${RWB_OUTPUT} ONLY_IF_DIFFERENT)
  file(REMOVE ${RWB_OUTPUT}.new)
endif()
