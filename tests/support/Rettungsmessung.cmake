# The degraded recordings of worn tapes and their evaluation, shared by the tests and the benchmark.
include_guard(GLOBAL)
add_library(bandwerk_rettungsmessung STATIC
    ${CMAKE_CURRENT_LIST_DIR}/Verschlechterung.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VerschlechterungSignal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RettungsMessung.cpp
)
target_include_directories(bandwerk_rettungsmessung PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(bandwerk_rettungsmessung PUBLIC bandwerk_kern Qt6::Core)
