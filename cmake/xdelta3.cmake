# xdelta3 for Windows from Debian's source package, compiled with the same toolchain as the
# programs. A test reference for module 3, never copied into the program folder: the tests put
# bin/xdelta3.exe into their own program folders as Modules\3.m. Built without liblzma, so the
# secondary compressor "lzma" is refused; djw and fgk are in.
set(XDELTA3_SOURCE_DIR "${CMAKE_SOURCE_DIR}/third_party/xdelta3" CACHE PATH "xdelta3 sources (scripts/setup fetches them)")
if(NOT EXISTS ${XDELTA3_SOURCE_DIR}/xdelta3.c)
  message(FATAL_ERROR "xdelta3 sources not found in ${XDELTA3_SOURCE_DIR}: run scripts/setup first")
endif()
# xdelta3.c includes the rest of the program.
add_executable(xdelta3 EXCLUDE_FROM_ALL ${XDELTA3_SOURCE_DIR}/xdelta3.c)
target_compile_definitions(xdelta3 PRIVATE
  XD3_MAIN=1 XD3_DEBUG=0 XD3_USE_LARGEFILE64=1 XD3_WIN32=1 XD3_STDIO=0 XD3_POSIX=0
  EXTERNAL_COMPRESSION=0 REGRESSION_TEST=0 SECONDARY_DJW=1 SECONDARY_FGK=1 SECONDARY_LZMA=0
  SIZEOF_SIZE_T=8 SIZEOF_UNSIGNED_LONG_LONG=8)
# It names files in the ANSI code page, so the wide-character default of the programs is off.
target_compile_options(xdelta3 PRIVATE -w -UUNICODE -U_UNICODE)
