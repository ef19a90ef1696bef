# The folder table of the top CMakeLists.txt turned into the build: folders
# added loudly, per-library include roots, and the check of the arrows.

# Adds a folder; a folder that is missing is an error, never skipped.
function(depotbase_folder dir)
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${dir}/CMakeLists.txt)
        message(FATAL_ERROR "Folder ${dir} is listed but has no CMakeLists.txt")
    endif()
    add_subdirectory(${PROJECT_SOURCE_DIR}/${dir} ${PROJECT_BINARY_DIR}/${dir})
endfunction()

# Splits one table line into <prefix>_library, <prefix>_folder, <prefix>_allowed.
function(depotbase_layout_line line prefix)
    string(REPLACE "|" ";" fields "${line}")
    list(GET fields 0 library)
    list(GET fields 1 folder)
    list(GET fields 2 allowed)
    string(STRIP "${library}" library)
    string(STRIP "${folder}" folder)
    string(STRIP "${allowed}" allowed)
    separate_arguments(allowed UNIX_COMMAND "${allowed}")
    set(${prefix}_library ${library} PARENT_SCOPE)
    set(${prefix}_folder ${folder} PARENT_SCOPE)
    set(${prefix}_allowed ${allowed} PARENT_SCOPE)
endfunction()

# The include root of a library: a folder in the build tree holding only a
# link to the library's own source folder under its path below src/, so
# "data/X.h" is found by whoever links data and by nobody else.
function(depotbase_include_root library folder)
    string(REGEX REPLACE "^src/" "" relative "${folder}")
    set(root ${PROJECT_BINARY_DIR}/include/${library})
    get_filename_component(parent ${root}/${relative} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT EXISTS ${root}/${relative})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${relative} SYMBOLIC)
    endif()
    set(${library}_INCLUDE_ROOT ${root} PARENT_SCOPE)
endfunction()

# Adds every folder of DEPOTBASE_LAYOUT, then gives each library its root.
macro(depotbase_add_layout)
    set(depotbase_layout_folders "")
    foreach(line IN LISTS DEPOTBASE_LAYOUT)
        depotbase_layout_line("${line}" entry)
        if(NOT entry_folder IN_LIST depotbase_layout_folders)
            list(APPEND depotbase_layout_folders ${entry_folder})
            depotbase_folder(${entry_folder})
        endif()
    endforeach()
    foreach(line IN LISTS DEPOTBASE_LAYOUT)
        depotbase_layout_line("${line}" entry)
        if(NOT TARGET ${entry_library})
            message(FATAL_ERROR "${entry_folder} does not define the library ${entry_library}")
        endif()
        get_target_property(entry_type ${entry_library} TYPE)
        if(entry_type STREQUAL "INTERFACE_LIBRARY")
            depotbase_include_root(${entry_library} ${entry_folder})
            target_include_directories(${entry_library} INTERFACE
                $<BUILD_INTERFACE:${${entry_library}_INCLUDE_ROOT}>)
        elseif(entry_type STREQUAL "STATIC_LIBRARY")
            depotbase_include_root(${entry_library} ${entry_folder})
            target_include_directories(${entry_library} PUBLIC
                $<BUILD_INTERFACE:${${entry_library}_INCLUDE_ROOT}>)
        endif()
    endforeach()
endmacro()

# Sets `out` to what `target` links directly (privately or in its interface),
# each name without the generator expression that wraps a link-only item.
function(depotbase_linked_targets target out)
    set(linked "")
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(values ${target} ${property})
        if(NOT values)
            continue()
        endif()
        foreach(item IN LISTS values)
            string(REGEX REPLACE "^\\$<(BUILD_INTERFACE|LINK_ONLY):(.*)>$" "\\2" item "${item}")
            list(APPEND linked "${item}")
        endforeach()
    endforeach()
    set(${out} ${linked} PARENT_SCOPE)
endfunction()

# Fails the configure step when a library links a project library that its
# line of DEPOTBASE_LAYOUT does not allow.
function(depotbase_check_layout)
    set(known "")
    foreach(line IN LISTS DEPOTBASE_LAYOUT)
        depotbase_layout_line("${line}" entry)
        list(APPEND known ${entry_library})
    endforeach()
    foreach(line IN LISTS DEPOTBASE_LAYOUT)
        depotbase_layout_line("${line}" entry)
        depotbase_linked_targets(${entry_library} linked)
        foreach(item IN LISTS linked)
            if(item IN_LIST known AND NOT item IN_LIST entry_allowed)
                message(FATAL_ERROR "${entry_library} (${entry_folder}) links ${item}, which "
                                    "the layout table of CMakeLists.txt does not allow")
            endif()
        endforeach()
    endforeach()
endfunction()
