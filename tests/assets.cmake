# assets_test checks the generated art and sounds in assets/: picture sizes,
# transparency, the @2x renderings, the icon sizes, the
# cursor round its hot spot and the WAV format.
# Included from tests/CMakeLists.txt.
if(NOT TARGET GTest::gtest_main)
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

cmake_path(SET KELVO_ASSETS_DIR NORMALIZE "${CMAKE_CURRENT_LIST_DIR}/../assets")
add_executable(assets_test ${CMAKE_CURRENT_LIST_DIR}/assets_test.cpp)
target_link_libraries(assets_test PRIVATE GTest::gtest_main Qt6::Gui)
target_compile_definitions(assets_test PRIVATE KELVO_ASSETS_DIR="${KELVO_ASSETS_DIR}")
kelvo_warnings(assets_test)
gtest_discover_tests(assets_test PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
