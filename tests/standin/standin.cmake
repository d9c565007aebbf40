# A stand-in for the outside modules 1 and 3, which morlo only starts: it writes down the
# command line it was given. The engine's tests also run with UTF-8 as their code page, as
# morlo does, and start the real module 2 (tollen).
add_executable(standinModule ${CMAKE_CURRENT_LIST_DIR}/standinModule.cpp)
target_link_libraries(standinModule PRIVATE shell32)
add_dependencies(engineTests standinModule tollen)
target_sources(engineTests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/utf8CodePage.rc)
