# Memory images and catalogue folders, without GoogleTest: the tests and the benchmarks
# both use them, so either may define the library first.
if(NOT TARGET quorzk_testimage)
  add_library(quorzk_testimage STATIC
    ${CMAKE_SOURCE_DIR}/tests/support/image_builder.h ${CMAKE_SOURCE_DIR}/tests/support/image_builder.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/catalogue_folder.h ${CMAKE_SOURCE_DIR}/tests/support/catalogue_folder.cpp)
  target_include_directories(quorzk_testimage PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(quorzk_testimage PUBLIC quorzk_model Qt6::Core)
endif()
