# Checks the direction of includes: a folder under src/ may include the
# public headers and the folders before it in the order below, never one
# after it; tools/ includes nothing from src/. Run as
#   cmake -DSOURCE_DIR=<repository> -P cmake/CheckLayers.cmake
set(LAYERS base platform transport config credentials logging queue device tracking fingerprint transactions collector)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

set(problems "")
list(LENGTH LAYERS layerCount)

# src/<folder>/...: every quoted include of another folder must come earlier.
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.hpp ${SOURCE_DIR}/src/*.cpp)
foreach(source ${sources})
  string(REGEX MATCH "^[^/]+" folder "${source}")
  list(FIND LAYERS "${folder}" own)
  if(own EQUAL -1)
    list(APPEND problems "src/${source}: the folder '${folder}' has no place in the layer order")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/src/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*$" "\\1" target "${line}")
    list(FIND LAYERS "${target}" other)
    if(other EQUAL -1)
      continue()  # not one of ours
    endif()
    if(other GREATER own)
      list(APPEND problems "src/${source}: '${folder}' includes '${target}', which sits above it")
    endif()
  endforeach()
endforeach()

# tools/: public headers and the test doubles only.
file(GLOB_RECURSE toolSources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/tools/*.hpp ${SOURCE_DIR}/tools/*.cpp)
foreach(source ${toolSources})
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*$" "\\1" target "${line}")
    list(FIND LAYERS "${target}" other)
    if(NOT other EQUAL -1)
      list(APPEND problems "${source}: a tool includes the library's private folder '${target}'")
    endif()
  endforeach()
endforeach()

# Public headers carry no private include.
file(GLOB_RECURSE publicHeaders RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/include/*.hpp)
foreach(header ${publicHeaders})
  file(STRINGS ${SOURCE_DIR}/${header} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    list(APPEND problems "${header}: a public header includes a private one (${line})")
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Include direction broken:\n  ${text}")
endif()
message(STATUS "Include direction holds for ${layerCount} layers")
