# Data libraries with the twenty texture pictures 257 to 276, drawn at build
# time: "scene" has all of them, "scene-missing" lacks 265 (Neptune), so the
# texture set fails after creating the eight before it. Plain 24-bit BMPs with
# flat colours, so pixel tests can tell the bodies apart.
#
#   clouds (268) is 2 x 8, a width whose packed rows (6 bytes) are not a
#   multiple of 4: red in its upper half, blue in its lower half.

set(scene ${CMAKE_CURRENT_BINARY_DIR}/scene)
file(MAKE_DIRECTORY ${scene})
find_program(CONVERT_EXECUTABLE convert REQUIRED)

# id, size, ImageMagick image
set(scene_pictures
  "257|128x128|gradient:gray25-gray55"
  "258|64x32|xc:#909090"
  "259|64x32|xc:#d8c890"
  "260|64x32|xc:#3060ff"
  "261|64x32|xc:#d04020"
  "262|64x32|xc:#d0a070"
  "263|64x32|xc:#e0c080"
  "264|64x32|xc:#80e0e0"
  "265|64x32|xc:#4060e0"
  "266|64x32|xc:#a09080"
  "267|64x32|xc:#ffc040"
  "268|2x8|"
  "269|64x64|xc:white"
  "270|64x64|xc:white"
  "271|64x16|xc:#e0d0a0"
  "272|64x16|xc:#a0c0ff"
  "273|128x128|radial-gradient:white-black"
  "274|64x64|xc:gray50"
  "275|64x16|xc:white"
  "276|64x64|xc:yellow")

set(scene_files)
set(scene_commands)
set(scene_rc "")
set(scene_missing_rc "")
foreach(entry ${scene_pictures})
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 id)
  list(GET parts 1 size)
  list(LENGTH parts count)
  set(image "")
  if(count GREATER 2)
    list(GET parts 2 image)
  endif()
  set(file ${scene}/${id}.bmp)
  list(APPEND scene_files ${file})
  if(NOT id EQUAL 268)
    list(APPEND scene_commands COMMAND ${CONVERT_EXECUTABLE} -size ${size} ${image} -alpha off -type TrueColor BMP3:${file})
  endif()
  string(APPEND scene_rc "${id} RCDATA \"${file}\"\n")
  if(NOT id EQUAL 265)
    string(APPEND scene_missing_rc "${id} RCDATA \"${file}\"\n")
  endif()
endforeach()
# The clouds picture: two flat halves.
list(APPEND scene_commands COMMAND ${CONVERT_EXECUTABLE} -size 2x4 xc:red -size 2x4 xc:blue -append
     -alpha off -type TrueColor BMP3:${scene}/268.bmp)
add_custom_command(OUTPUT ${scene_files} ${scene_commands} VERBATIM)
add_custom_target(testdata_scene_pictures DEPENDS ${scene_files})

file(WRITE ${scene}/scene.rc "${scene_rc}")
file(WRITE ${scene}/scene-missing.rc "${scene_missing_rc}")
set_source_files_properties(${scene}/scene.rc ${scene}/scene-missing.rc PROPERTIES OBJECT_DEPENDS "${scene_files}")

foreach(variant scene scene-missing)
  set(target testdata_${variant})
  add_library(${target} SHARED testdata.c ${CMAKE_CURRENT_BINARY_DIR}/testdata.rc ${scene}/${variant}.rc)
  target_compile_definitions(${target} PRIVATE TESTDATA_VERSION=272)
  astrolume_stand_in_dll(${target} ${variant} duzidad)
  add_dependencies(${target} testdata_scene_pictures)
endforeach()
add_dependencies(astrolume_testdata testdata_scene testdata_scene-missing)
