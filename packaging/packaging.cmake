# What ships, for each build: a per-user installer (NSIS) and a portable zip, made by
# CPack from the install rules below. ./package.sh runs it for both presets and puts
# the files under dist/. The version is the program's, from res/version.h.

file(STRINGS ${CMAKE_SOURCE_DIR}/res/version.h clarovia_version_line
     REGEX "^#define CLAROVIA_VERSION_TEXT \"[0-9.]+\"$")
string(REGEX REPLACE ".*\"([0-9.]+)\".*" "\\1" CLAROVIA_VERSION "${clarovia_version_line}")
if(NOT CLAROVIA_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "res/version.h: no CLAROVIA_VERSION_TEXT of four numbers")
endif()
string(REPLACE "." ";" clarovia_version_parts "${CLAROVIA_VERSION}")
list(GET clarovia_version_parts 0 CPACK_PACKAGE_VERSION_MAJOR)
list(GET clarovia_version_parts 1 CPACK_PACKAGE_VERSION_MINOR)
list(GET clarovia_version_parts 2 CPACK_PACKAGE_VERSION_PATCH)

# The architecture's name in the file names, the installer's own target, and what the
# read-me says the build serves.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64)$")
  set(CLAROVIA_PACKAGE_ARCH x64)
  set(CPACK_NSIS_CLAROVIA_TARGET amd64-unicode)
  set(CLAROVIA_SERVES "64-bit programs, and 32-bit programs through the companion in the x86 folder")
else()
  set(CLAROVIA_PACKAGE_ARCH x86)
  set(CPACK_NSIS_CLAROVIA_TARGET x86-unicode)
  set(CLAROVIA_SERVES "32-bit programs (on 32-bit Windows, all of them)")
endif()
# Texts for Notepad on any Windows: CRLF.
configure_file(${CMAKE_SOURCE_DIR}/packaging/readme.txt ${CMAKE_BINARY_DIR}/package/readme.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE.txt ${CMAKE_BINARY_DIR}/package/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)

# The two files, the read-me and the licence, in the installed folder's root.
install(TARGETS Clarovia vitrel RUNTIME DESTINATION . COMPONENT program)
install(FILES ${CMAKE_BINARY_DIR}/package/readme.txt ${CMAKE_BINARY_DIR}/package/LICENSE.txt
        DESTINATION . COMPONENT program)
# The x64 package serves 32-bit programs too: the i686 build's companion and library, in
# a folder of their own; the library as vitrel32.dll, since Windows wants the 32-bit and
# the 64-bit library of a global hook to have different names.
if(CLAROVIA_PACKAGE_ARCH STREQUAL "x64")
  if(NOT CLAROVIA_COMPANION_BIN)
    message(FATAL_ERROR "CLAROVIA_COMPANION_BIN: the i686 build's bin/ is needed for the x64 package")
  endif()
  install(FILES ${CLAROVIA_COMPANION_BIN}/Clarovia32.exe DESTINATION x86 COMPONENT program)
  install(FILES ${CLAROVIA_COMPANION_BIN}/vitrel.dll DESTINATION x86 RENAME vitrel32.dll COMPONENT program)
endif()

set(CPACK_PACKAGE_NAME Clarovia)
set(CPACK_PACKAGE_VENDOR "kesto's tool")
set(CPACK_PACKAGE_VERSION ${CLAROVIA_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Translucent windows, a translucent taskbar and rolled-up windows")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Clarovia)
set(CPACK_PACKAGE_FILE_NAME Clarovia-${CLAROVIA_VERSION}-${CLAROVIA_PACKAGE_ARCH})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE.txt)
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_STRIP_FILES OFF)  # linked without debug data already (-s)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Clarovia;program;/")
# Per generator: the installer is named ...-setup.exe.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/packaging/per_generator.cmake)

# The installer's script is ours (NSIS.template.in here), with its texts in English
# and Japanese beside it.
set(CPACK_NSIS_CLAROVIA_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(CPACK_NSIS_DISPLAY_NAME Clarovia)
set(CPACK_NSIS_PACKAGE_NAME Clarovia)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
list(APPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging)

include(CPack)
