# Cross-builds the Windows console program with MinGW-w64 and runs what it
# builds under Wine. The file that includes this one sets listsift_mingw_arch
# to i686 or x86_64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${listsift_mingw_arch})

# The POSIX thread model: GoogleTest needs std::mutex, which the win32 model
# of these compilers lacks. -static keeps winpthread out of the DLLs.
set(CMAKE_C_COMPILER ${listsift_mingw_arch}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${listsift_mingw_arch}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${listsift_mingw_arch}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${listsift_mingw_arch}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime goes into the program, so that it needs no DLL
# beyond what Windows has.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

if(listsift_mingw_arch STREQUAL "x86_64")
  # Debian installs the 64-bit loader outside PATH.
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
