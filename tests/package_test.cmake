# Installs the build into a scratch prefix and builds the example consumers in examples/cpp three
# ways: find_package against the installed tree, pkg-config, and add_subdirectory of the sources.
# Each program draws an image (PNG or SVG) with gnuplot from PATH and no engine home.
# cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DWORK_DIR=... -DCXX=... -P package_test.cmake
cmake_minimum_required(VERSION 3.21)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}")
  endif()
endfunction()

# Runs a program with gnuplot on PATH, ZUHOME unset and an empty home; it must leave an image of
# the kind its file name says.
function(draw image)
  file(REMOVE ${image})
  run(${CMAKE_COMMAND} -E env --unset=ZUHOME HOME=${WORK_DIR}/home PATH=${ENGINE_DIR}:/usr/bin:/bin ${ARGN})
  if(image MATCHES "[.]svg$")
    set(expected "3c3f786d6c")  # <?xml
  else()
    set(expected "89504e470d0a1a0a")
  endif()
  string(LENGTH ${expected} digits)
  math(EXPR bytes "${digits} / 2")
  file(READ ${image} signature LIMIT ${bytes} HEX)
  if(NOT signature STREQUAL expected)
    message(FATAL_ERROR "${ARGN} did not draw its image into ${image}")
  endif()
endfunction()

# The example programs (examples/cpp/CMakeLists.txt), each built from its own source and drawing
# the image named here; sine.cpp is main.cpp.
set(programs sine waves grid surface)
set(sine_source main.cpp)
set(sine_image png)
set(waves_image svg)
set(grid_image png)
set(surface_image png)
foreach(program IN LISTS programs)
  if(NOT DEFINED ${program}_source)
    set(${program}_source ${program}.cpp)
  endif()
endforeach()

# Draws every example program of a build folder (its programs named <program><suffix>).
function(draw_all dir suffix)
  foreach(program IN LISTS programs)
    set(image ${dir}/${program}${suffix}.${${program}_image})
    draw(${image} ${dir}/${program}${suffix} ${image})
  endforeach()
endfunction()

find_program(GNUPLOT gnuplot REQUIRED)
get_filename_component(ENGINE_DIR ${GNUPLOT} DIRECTORY)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/home)
set(prefix ${WORK_DIR}/prefix)
set(example ${SOURCE_DIR}/examples/cpp)

# The installed tree: public headers only, and each header stands alone.
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
file(GLOB_RECURSE headers RELATIVE ${prefix}/include ${prefix}/include/*)
if(NOT headers STREQUAL "rizari/codes.h;rizari/cplot.h;rizari/plot.h")
  message(FATAL_ERROR "installed headers: ${headers}")
endif()
foreach(header IN LISTS headers)
  file(WRITE ${WORK_DIR}/alone.cpp "#include <${header}>\n")
  run(${CXX} -std=c++20 -Wall -Wextra -Werror -fsyntax-only -I${prefix}/include ${WORK_DIR}/alone.cpp)
endforeach()

# 1. find_package against the installed, relocated tree.
file(RENAME ${prefix} ${WORK_DIR}/moved)
set(prefix ${WORK_DIR}/moved)
run(${CMAKE_COMMAND} -S ${example} -B ${WORK_DIR}/find -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/find -j2)
draw_all(${WORK_DIR}/find "")

# The recipes, built there too: each runs where the examples' data are and draws its files (named
# after it) without a word on standard error.
file(COPY ${SOURCE_DIR}/examples/data DESTINATION ${WORK_DIR}/recipes)
file(GLOB recipes RELATIVE ${example} ${example}/recipe_*.cpp)
foreach(recipe IN LISTS recipes)
  string(REGEX REPLACE "[.]cpp$" "" recipe ${recipe})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=ZUHOME HOME=${WORK_DIR}/home PATH=${ENGINE_DIR}:/usr/bin:/bin
    ${WORK_DIR}/find/${recipe} WORKING_DIRECTORY ${WORK_DIR}/recipes RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  file(GLOB made ${WORK_DIR}/recipes/${recipe}*)
  if(NOT result EQUAL 0 OR NOT out STREQUAL "" OR NOT made)
    message(FATAL_ERROR "${recipe} (${result}) drew '${made}':\n${out}")
  endif()
endforeach()

# 2. pkg-config.
find_program(PKG_CONFIG pkg-config REQUIRED)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/lib/pkgconfig
  ${PKG_CONFIG} --cflags --libs rizari OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(flags UNIX_COMMAND "${flags}")
foreach(program IN LISTS programs)
  run(${CXX} -std=c++20 ${example}/${${program}_source} ${flags} -o ${WORK_DIR}/${program}-pc)
endforeach()
draw_all(${WORK_DIR} -pc)

# The installed runner finds the installed module.
file(WRITE ${WORK_DIR}/plot.rz "p = CPlot()\np.data2D([1, 2, 3], [1, 4, 9])\np.outputType(PlotOutputType.File, \"pngcairo\", \"${WORK_DIR}/runner.png\")\np.plotting()\n")
draw(${WORK_DIR}/runner.png ${prefix}/bin/rizari ${WORK_DIR}/plot.rz)

# 3. add_subdirectory of the source tree, which builds none of rizari's tests.
run(${CMAKE_COMMAND} -S ${example} -B ${WORK_DIR}/sub -DRIZARI_SOURCE_DIR=${SOURCE_DIR} -DCMAKE_CXX_COMPILER=${CXX})
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/sub --target help OUTPUT_VARIABLE targets)
if(targets MATCHES "scripts_test|unit_tests|fake_gnuplot|bench_writer")
  message(FATAL_ERROR "add_subdirectory brings rizari's tests or benchmarks:\n${targets}")
endif()
run(${CMAKE_COMMAND} --build ${WORK_DIR}/sub --target ${programs} -j2)
draw_all(${WORK_DIR}/sub "")
