# Every third-party library the project uses, found once for all targets.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Network DBus Svg Concurrent LinguistTools)
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

pkg_check_modules(SPNG REQUIRED IMPORTED_TARGET spng)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(TESSERACT REQUIRED IMPORTED_TARGET tesseract lept)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb xcb-keysyms xcb-randr xcb-shm xcb-xfixes)
find_package(OpenSSL 3 REQUIRED)

# Debian ships OpenCV's CMake package only with the full libopencv-dev.
find_path(OPENCV_INCLUDE_DIR opencv2/imgproc.hpp PATHS /usr/include/opencv4 REQUIRED)
find_library(OPENCV_CORE_LIBRARY opencv_core REQUIRED)
find_library(OPENCV_IMGPROC_LIBRARY opencv_imgproc REQUIRED)
add_library(Tavimo::OpenCV INTERFACE IMPORTED)
target_include_directories(Tavimo::OpenCV SYSTEM INTERFACE ${OPENCV_INCLUDE_DIR})
target_link_libraries(Tavimo::OpenCV INTERFACE ${OPENCV_IMGPROC_LIBRARY} ${OPENCV_CORE_LIBRARY})

if(BUILD_TESTING OR TAVIMO_BENCHMARKS)
  find_package(GTest REQUIRED)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
if(TAVIMO_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()
