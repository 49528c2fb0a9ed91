# Shared CMake helpers.

# Every folder that generates game data registers its custom target here;
# the umbrella target `game_data` (built by default) depends on all of them.
function(velmarok_add_data_target name)
  set_property(GLOBAL APPEND PROPERTY VELMAROK_DATA_TARGETS ${name})
endfunction()

function(velmarok_finish_data_target)
  get_property(targets GLOBAL PROPERTY VELMAROK_DATA_TARGETS)
  add_custom_target(game_data ALL)
  if(targets)
    add_dependencies(game_data ${targets})
  endif()
endfunction()

# Add a subdirectory only once someone has put a CMakeLists.txt there, so a
# folder can be started without touching its parent.
macro(velmarok_optional_subdirs)
  foreach(sub ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt)
      add_subdirectory(${sub})
    endif()
  endforeach()
endmacro()

# A GoogleTest executable registered with CTest.  Tests run headless: no
# display, no sound card, and data folders redirected by each test itself;
# run by CTest or by hand alike.
function(velmarok_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/common/test_environment.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  # The same environment for a test program started by hand (each variable
  # only where it is not set).
  target_compile_definitions(${name} PRIVATE
    VELMAROK_TEST_DATA_DIR="${VELMAROK_DATA_DIR}" VELMAROK_TEST_BIN_DIR="${VELMAROK_BIN_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # gtest_discover_tests splits list-valued PROPERTIES, so an ENVIRONMENT of
  # several variables would keep only the first; `env` in front of the test
  # command sets them all.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "env;SDL_VIDEODRIVER=offscreen;ALSOFT_DRIVERS=null;SDL_AUDIODRIVER=dummy;LP_NUM_THREADS=0;VELMAROK_DATA=${VELMAROK_DATA_DIR};VELMAROK_BIN=${VELMAROK_BIN_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    DISCOVERY_TIMEOUT 60)
endfunction()

# Fuzz targets join `fuzz_targets` (built by ./run-tests in a clang tree).
function(velmarok_add_fuzz_target name)
  if(NOT TARGET fuzz_targets)
    add_custom_target(fuzz_targets)
  endif()
  add_dependencies(fuzz_targets ${name} game_data)
endfunction()

# Gives every program of the build (in any folder) the sanitizer run-time
# defaults of cmake/sanitizer_defaults.cpp.  Called once all folders are in.
function(velmarok_add_sanitizer_defaults)
  set(dirs ${CMAKE_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND dirs ${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "EXECUTABLE")
        target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/sanitizer_defaults.cpp)
      endif()
    endforeach()
  endwhile()
endfunction()
