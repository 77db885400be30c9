# Run by cmake --install (see res/CMakeLists.txt) with FERROX_RES_SOURCE (this folder) and
# FERROX_RES_BINARY (its build folder) set. Writes the menu entry at install time, so that it
# names the folder the programs really went to (a --prefix given to cmake --install included),
# installs the hand files' type, and brings the desktop's databases up to date.
# The package's staging (packaging/) runs it too, with FERROX_PACKAGE_LAYOUT set.

# The Exec key's program, quoted as the desktop entry format wants when the folder holds a
# space or another character the key reserves.
function(ferrox_exec_program path out)
  if(path MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" path "${path}")
    set(path "\"${path}\"")
  endif()
  # Then the rules of every string value: a backslash doubled, and % doubled in Exec.
  string(REPLACE "\\" "\\\\" path "${path}")
  string(REPLACE "%" "%%" path "${path}")
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

# The desktop reads databases built from the files, not the files: an installation into the
# user's own prefix updates them when the tool is there. A package build (DESTDIR) leaves that
# to the system's triggers, and another user's folder is not ours to write into.
function(ferrox_update_database tool folder)
  find_program(program ${tool} NO_CACHE)
  if(NOT program OR NOT "$ENV{DESTDIR}" STREQUAL "")
    return()
  endif()
  execute_process(COMMAND test -O "${folder}" RESULT_VARIABLE notOwned)
  if(NOT notOwned EQUAL 0)
    message(STATUS "Not updated (not your folder): ${folder}")
    return()
  endif()
  message(STATUS "Updating: ${folder} (${tool})")
  execute_process(COMMAND "${program}" ${ARGN} "${folder}"
                  RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(NOT failed EQUAL 0)
    message(WARNING "${tool} ${folder} failed (${failed}): ${said}")
  endif()
endfunction()

if(FERROX_PACKAGE_LAYOUT)
  # On the PATH and in the icon theme: named, not placed.
  set(FERROX_EXEC_PROGRAM ferrox6plus)
  set(FERROX_ICON ferrox6plus)
else()
  set(FERROX_PROGRAM_DIR "${CMAKE_INSTALL_PREFIX}/bin")
  ferrox_exec_program("${FERROX_PROGRAM_DIR}/Ferrox6Plus" FERROX_EXEC_PROGRAM)
  set(FERROX_ICON "${FERROX_PROGRAM_DIR}/ferrox6plus.png")
endif()
configure_file("${FERROX_RES_SOURCE}/Ferrox6Plus.desktop.in" "${FERROX_RES_BINARY}/Ferrox6Plus.desktop" @ONLY)
file(INSTALL "${FERROX_RES_BINARY}/Ferrox6Plus.desktop" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
file(INSTALL "${FERROX_RES_SOURCE}/ferrox6plus-hand.xml" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/mime/packages")
if(NOT FERROX_PACKAGE_LAYOUT)  # the package system's triggers do it
  ferrox_update_database(update-mime-database "${CMAKE_INSTALL_PREFIX}/share/mime")
  ferrox_update_database(update-desktop-database "${CMAKE_INSTALL_PREFIX}/share/applications" -q)
endif()
