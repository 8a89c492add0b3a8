# modMain's high-score procedures over clsRegistry. Included from main/CMakeLists.txt.
add_library(varnoth_highscore STATIC ${CMAKE_CURRENT_LIST_DIR}/HighScore.cpp)
target_include_directories(varnoth_highscore PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(varnoth_highscore PUBLIC varnoth_registry varnoth_forms varnoth_replay)
