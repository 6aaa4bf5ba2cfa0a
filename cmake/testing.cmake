# GoogleTest is cross-built from Debian's source package alongside the project.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Every test executable runs under Wine through this wrapper (see scripts/wine-run.sh).
set(PELMORA_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)

# pelmora_add_test(NAME name SOURCES ... LIBS ... [LOCALES zh_CN en_US] [TIMEOUT s] [ARGS ...])
# Builds one GoogleTest executable and registers it with CTest once per locale.
function(pelmora_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LOCALES;ARGS;DEPENDS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(T_DEPENDS)
    add_dependencies(${T_NAME} ${T_DEPENDS})
  endif()
  if(NOT T_LOCALES)
    set(T_LOCALES zh_CN)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  foreach(loc IN LISTS T_LOCALES)
    add_test(NAME ${T_NAME}.${loc}
             COMMAND ${PELMORA_WINE_RUN} $<TARGET_FILE:${T_NAME}> ${T_ARGS})
    set_tests_properties(${T_NAME}.${loc} PROPERTIES
      ENVIRONMENT "LC_ALL=${loc}.UTF-8;PELMORA_BUILD_DIR=${CMAKE_BINARY_DIR};PELMORA_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
      TIMEOUT ${T_TIMEOUT})
  endforeach()
endfunction()
