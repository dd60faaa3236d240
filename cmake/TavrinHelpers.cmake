# tavrin_add_library(<name> <sources...>)
# A static library whose public headers are under <folder>/include/<folder>/:
# only that root is exported, the rest of its folder is its own. Beside it,
# <name>_internals: the library with its private headers too, for its own
# tests and benchmarks and for the tools of its family that work below its face.
function(tavrin_add_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
                               PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    add_library(${name}_internals INTERFACE)
    target_include_directories(${name}_internals INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name}_internals INTERFACE ${name})
endfunction()

# tavrin_add_constants(<target> <namespace> <source.txt> [PUBLIC])
# Generates a GBK constant segment from a UTF-8 source and adds it to <target>.
# Its header is the target's own unless PUBLIC: a library whose face it is.
function(tavrin_add_constants target ns source)
    cmake_parse_arguments(C "PUBLIC" "" "" ${ARGN})
    get_filename_component(src "${source}" ABSOLUTE)
    set(dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_generated")
    set(base "${dir}/${ns}_constants")
    add_custom_command(
        OUTPUT "${base}.h" "${base}.cpp"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
        COMMAND tavrin-constgen "${src}" "${base}" ${ns}
        DEPENDS tavrin-constgen "${src}"
        COMMENT "Generating constant segment ${ns}")
    target_sources(${target} PRIVATE "${base}.cpp" "${base}.h")
    if(C_PUBLIC)
        target_include_directories(${target} PUBLIC "${dir}")
    else()
        target_include_directories(${target} PRIVATE "${dir}")
    endif()
endfunction()

# tavrin_add_gtest(<name> SOURCES ... LIBS ...)
# A GoogleTest executable registered with CTest; widget tests run offscreen.
# CHILDREN names (a gtest filter) the cases another case of the same program
# starts as a child process: they are not tests of their own, so CTest does not
# list them (they would show as skipped in every run).
function(tavrin_add_gtest name)
    cmake_parse_arguments(T "" "CHILDREN" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    include(GoogleTest)
    set(filter "")
    if(T_CHILDREN)
        set(filter TEST_FILTER "-${T_CHILDREN}")
    endif()
    gtest_discover_tests(${name}
        ${filter}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
endfunction()
