set(CMAKE_SYSTEM_PROCESSOR i686)
set(QV_TRIPLE i686-w64-mingw32)
set(QV_WINE_BITS 32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
