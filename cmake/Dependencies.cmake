# Every dependency comes from Debian's packages (scripts/setup installs them).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

# Core: images, PDF reading and writing, metadata.
pkg_check_modules(VIPS REQUIRED IMPORTED_TARGET vips)
pkg_check_modules(POPPLER_CPP REQUIRED IMPORTED_TARGET poppler-cpp)
pkg_check_modules(QPDF REQUIRED IMPORTED_TARGET libqpdf)
pkg_check_modules(EXIV2 REQUIRED IMPORTED_TARGET exiv2)
pkg_check_modules(HEIF REQUIRED IMPORTED_TARGET libheif)
# Text recognition: Tesseract reads, ICU counts the characters a reader sees.
pkg_check_modules(TESSERACT REQUIRED IMPORTED_TARGET tesseract)
pkg_check_modules(ICU_UC REQUIRED IMPORTED_TARGET icu-uc)

# Documents: compound files, ZIP packages, XML.
pkg_check_modules(GSF REQUIRED IMPORTED_TARGET libgsf-1)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
pkg_check_modules(PUGIXML REQUIRED IMPORTED_TARGET pugixml)
find_package(ZLIB REQUIRED)

if(TAVRINO_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(TAVRINO_BENCH AND NOT TAVRINO_SANITIZE)
  find_package(benchmark REQUIRED)
endif()

# Background removal: OpenCV's dnn module runs the salient-object network. Debian's split
# -dev packages carry no CMake config, so the libraries are found one by one. Without them
# the tool is left out of the build and its petal stays hidden.
find_path(OPENCV_INCLUDE_DIR opencv2/dnn.hpp PATH_SUFFIXES opencv4)
find_library(OPENCV_CORE_LIBRARY opencv_core)
find_library(OPENCV_IMGPROC_LIBRARY opencv_imgproc)
find_library(OPENCV_DNN_LIBRARY opencv_dnn)
if(OPENCV_INCLUDE_DIR AND OPENCV_CORE_LIBRARY AND OPENCV_IMGPROC_LIBRARY AND OPENCV_DNN_LIBRARY)
  add_library(tavrino_opencv INTERFACE IMPORTED)
  target_include_directories(tavrino_opencv SYSTEM INTERFACE "${OPENCV_INCLUDE_DIR}")
  target_link_libraries(tavrino_opencv INTERFACE
    "${OPENCV_DNN_LIBRARY}" "${OPENCV_IMGPROC_LIBRARY}" "${OPENCV_CORE_LIBRARY}")
  set(TAVRINO_HAVE_OPENCV ON)
else()
  message(STATUS "OpenCV dnn not found: background removal is left out")
  set(TAVRINO_HAVE_OPENCV OFF)
endif()
