# Installs the build into a scratch prefix and builds the example consumer in examples/cpp three
# ways: find_package against the installed tree, pkg-config, and add_subdirectory of the sources.
# Each program draws a PNG with gnuplot from PATH and no engine home.
# cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DWORK_DIR=... -DCXX=... -P package_test.cmake
cmake_minimum_required(VERSION 3.21)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}")
  endif()
endfunction()

# Runs a program with gnuplot on PATH, ZUHOME unset and an empty home; it must leave a PNG.
function(draw png)
  file(REMOVE ${png})
  run(${CMAKE_COMMAND} -E env --unset=ZUHOME HOME=${WORK_DIR}/home PATH=${ENGINE_DIR}:/usr/bin:/bin ${ARGN})
  file(READ ${png} signature LIMIT 8 HEX)
  if(NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "${ARGN} did not draw a PNG into ${png}")
  endif()
endfunction()

find_program(GNUPLOT gnuplot REQUIRED)
get_filename_component(ENGINE_DIR ${GNUPLOT} DIRECTORY)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/home)
set(prefix ${WORK_DIR}/prefix)
set(example ${SOURCE_DIR}/examples/cpp)

# The installed tree: public headers only, and the header stands alone.
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
file(GLOB_RECURSE headers RELATIVE ${prefix}/include ${prefix}/include/*)
if(NOT headers STREQUAL "rizari/codes.h;rizari/cplot.h")
  message(FATAL_ERROR "installed headers: ${headers}")
endif()
file(WRITE ${WORK_DIR}/alone.cpp "#include <rizari/cplot.h>\n")
run(${CXX} -std=c++20 -Wall -Wextra -Werror -fsyntax-only -I${prefix}/include ${WORK_DIR}/alone.cpp)

# 1. find_package against the installed, relocated tree.
file(RENAME ${prefix} ${WORK_DIR}/moved)
set(prefix ${WORK_DIR}/moved)
run(${CMAKE_COMMAND} -S ${example} -B ${WORK_DIR}/find -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/find)
draw(${WORK_DIR}/find.png ${WORK_DIR}/find/sine ${WORK_DIR}/find.png)

# 2. pkg-config.
find_program(PKG_CONFIG pkg-config REQUIRED)
execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/lib/pkgconfig
  ${PKG_CONFIG} --cflags --libs rizari OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(flags UNIX_COMMAND "${flags}")
run(${CXX} -std=c++20 ${example}/main.cpp ${flags} -o ${WORK_DIR}/sine-pc)
draw(${WORK_DIR}/pc.png ${WORK_DIR}/sine-pc ${WORK_DIR}/pc.png)

# The installed runner finds the installed module.
file(WRITE ${WORK_DIR}/plot.rz "p = CPlot()\np.data2D([1, 2, 3], [1, 4, 9])\np.outputType(PlotOutputType.File, \"pngcairo\", \"${WORK_DIR}/runner.png\")\np.plotting()\n")
draw(${WORK_DIR}/runner.png ${prefix}/bin/rizari ${WORK_DIR}/plot.rz)

# 3. add_subdirectory of the source tree, which builds none of rizari's tests.
run(${CMAKE_COMMAND} -S ${example} -B ${WORK_DIR}/sub -DRIZARI_SOURCE_DIR=${SOURCE_DIR} -DCMAKE_CXX_COMPILER=${CXX})
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/sub --target help OUTPUT_VARIABLE targets)
if(targets MATCHES "scripts_test|unit_tests|fake_gnuplot|bench_writer")
  message(FATAL_ERROR "add_subdirectory brings rizari's tests or benchmarks:\n${targets}")
endif()
run(${CMAKE_COMMAND} --build ${WORK_DIR}/sub --target sine -j2)
draw(${WORK_DIR}/sub.png ${WORK_DIR}/sub/sine ${WORK_DIR}/sub.png)
