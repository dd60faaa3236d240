# tavrin_add_templates(<target> <namespace> [PUBLIC] <source files...>)
# Compiles the window template sources into one template segment and adds the
# generated <namespace>_templates.{h,cpp} to <target>. The header declares
# <namespace>::kTemplateSegment, kTemplateSegmentSize, kHandlerNames,
# kHandlerNameCount and the id constants in <namespace>::ids; it is the
# target's own unless PUBLIC.
function(tavrin_add_templates target ns)
    cmake_parse_arguments(T "PUBLIC" "" "" ${ARGN})
    set(sources)
    foreach(src ${T_UNPARSED_ARGUMENTS})
        get_filename_component(abs "${src}" ABSOLUTE)
        list(APPEND sources "${abs}")
    endforeach()
    set(dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_generated")
    set(base "${dir}/${ns}_templates")
    add_custom_command(
        OUTPUT "${base}.h" "${base}.cpp"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
        COMMAND tavrin-templatec "${base}" ${ns} "${base}.d" ${sources}
        DEPENDS tavrin-templatec ${sources}
        DEPFILE "${base}.d"
        COMMENT "Compiling window templates ${ns}")
    target_sources(${target} PRIVATE "${base}.cpp" "${base}.h")
    if(T_PUBLIC)
        target_include_directories(${target} PUBLIC "${dir}")
    else()
        target_include_directories(${target} PRIVATE "${dir}")
    endif()
endfunction()
