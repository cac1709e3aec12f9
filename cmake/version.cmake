# Writes the commit the game is built from into a header for --version and into a CMake file
# for the package's version; run at every build, files touched only when they change.
#   cmake -DSRC=<source dir> -DOUT=<folder> -DVERSION=<x.y.z> [-DCOMMIT=<given>] -P version.cmake
# A build outside a git checkout (a source archive) takes COMMIT, else "unknown".
execute_process(COMMAND git -C "${SRC}" rev-parse --short=12 HEAD
  OUTPUT_VARIABLE commit RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
set(count 0)
if(failed)
  set(commit "${COMMIT}")
  if(commit STREQUAL "")
    set(commit "unknown")
  endif()
else()
  execute_process(COMMAND git -C "${SRC}" rev-list --count HEAD
    OUTPUT_VARIABLE count OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  # Changes to tracked files not yet committed: the build is not that commit.
  execute_process(COMMAND git -C "${SRC}" status --porcelain --untracked-files=no
    OUTPUT_VARIABLE changes ERROR_QUIET)
  if(NOT changes STREQUAL "")
    string(APPEND commit "-dirty")
  endif()
endif()

# Debian orders 0.1.0+12.g1a2b3c above 0.1.0+11.g... : the commit count comes first.
string(REPLACE "-dirty" ".dirty" bare "${commit}")
set(package_version "${VERSION}+${count}.g${bare}")
if(commit STREQUAL "unknown")
  set(package_version "${VERSION}")
endif()

file(CONFIGURE OUTPUT "${OUT}/tess_version.h" CONTENT "// Written by cmake/version.cmake.
#pragma once
#define TESS_VERSION \"${VERSION}\"
#define TESS_COMMIT \"${commit}\"
")
file(CONFIGURE OUTPUT "${OUT}/tess_version.cmake" CONTENT
  "set(TESS_COMMIT \"${commit}\")\nset(TESS_PACKAGE_VERSION \"${package_version}\")\n")
