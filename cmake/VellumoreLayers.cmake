# The program is built as layers, one static library per folder and per side (core code
# under src/<folder>/, its windows under src/<folder>/ui/):
#
#   vellumore_layer(<name> [USES <layers...>] [LINKS <targets...>] SOURCES <files...>)
#
# A layer may include the headers of the layers it USES, of theirs, and its own; nothing
# else of ours. Every layer's sources are checked before it compiles, so an include
# against the direction fails the build with the file, the header and the layers allowed.
function(vellumore_layer name)
    cmake_parse_arguments(ARG "" "" "USES;LINKS;SOURCES" ${ARGN})
    set(target vellumore_${name})
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    list(TRANSFORM ARG_USES PREPEND vellumore_ OUTPUT_VARIABLE uses)
    target_link_libraries(${target} PUBLIC ${uses} ${ARG_LINKS} PRIVATE vellumore_flags)
    set_property(TARGET ${target} PROPERTY VELLUMORE_USES ${ARG_USES})
    set_property(GLOBAL APPEND PROPERTY VELLUMORE_LAYERS ${name})
endfunction()

# The layers <name> may reach: itself and everything it uses, directly or not.
function(vellumore_layer_reach name out)
    set(reach ${name})
    set(queue ${name})
    while(queue)
        list(POP_FRONT queue current)
        get_property(uses TARGET vellumore_${current} PROPERTY VELLUMORE_USES)
        foreach(used IN LISTS uses)
            if(NOT used IN_LIST reach)
                list(APPEND reach ${used})
                list(APPEND queue ${used})
            endif()
        endforeach()
    endwhile()
    set(${out} ${reach} PARENT_SCOPE)
endfunction()

# The files of a layer whose names match @p pattern, as absolute paths.
function(vellumore_layer_files name pattern out)
    get_target_property(sources vellumore_${name} SOURCES)
    get_target_property(dir vellumore_${name} SOURCE_DIR)
    set(files)
    foreach(source IN LISTS sources)
        if(source MATCHES "${pattern}")
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir} NORMALIZE OUTPUT_VARIABLE path)
            list(APPEND files ${path})
        endif()
    endforeach()
    set(${out} ${files} PARENT_SCOPE)
endfunction()

# The headers of a layer, as its users include them ("practice/ui/PracticePanel.h").
function(vellumore_layer_headers name out)
    vellumore_layer_files(${name} "\\.h$" paths)
    set(headers)
    foreach(path IN LISTS paths)
        cmake_path(RELATIVE_PATH path BASE_DIRECTORY ${PROJECT_SOURCE_DIR}/src)
        list(APPEND headers ${path})
    endforeach()
    set(${out} ${headers} PARENT_SCOPE)
endfunction()

# Call once every layer is declared: gives each layer its include check.
function(vellumore_check_layers)
    get_property(layers GLOBAL PROPERTY VELLUMORE_LAYERS)
    set(folders)
    foreach(layer IN LISTS layers)
        string(REGEX REPLACE "_ui$" "" folder ${layer})
        list(APPEND folders ${folder})
    endforeach()
    list(REMOVE_DUPLICATES folders)
    foreach(layer IN LISTS layers)
        vellumore_layer_reach(${layer} reach)
        set(allowed)
        foreach(reached IN LISTS reach)
            vellumore_layer_headers(${reached} headers)
            list(APPEND allowed ${headers})
        endforeach()
        vellumore_layer_files(${layer} "\\.(h|cpp)$" files)
        set(rules ${CMAKE_BINARY_DIR}/layers/${layer}.cmake)
        list(JOIN reach " " reachText)
        file(CONFIGURE OUTPUT ${rules} CONTENT
"set(LAYER ${layer})
set(REACH \"${reachText}\")
set(FOLDERS \"${folders}\")
set(ALLOWED \"${allowed}\")
set(FILES \"${files}\")
set(SOURCE_ROOT \"${PROJECT_SOURCE_DIR}/src\")
")
        set(stamp ${CMAKE_BINARY_DIR}/layers/${layer}.checked)
        add_custom_command(OUTPUT ${stamp}
            COMMAND ${CMAKE_COMMAND} -DRULES=${rules} -DSTAMP=${stamp}
                    -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
            DEPENDS ${files} ${rules} ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
            COMMENT "Checking the includes of layer ${layer}"
            VERBATIM)
        add_custom_target(vellumore_${layer}_includes DEPENDS ${stamp})
        add_dependencies(vellumore_${layer} vellumore_${layer}_includes)
    endforeach()
endfunction()
