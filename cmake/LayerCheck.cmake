# The layering rule, checked rather than only written down. Each top folder may include headers
# from itself and from the folders listed after its name, nothing else; tests/ and bench/ may
# include anything. docs/ARCHITECTURE.md shows the same table.
#
# Included from the top CMakeLists.txt, the check runs on every configure and stops it on a
# wrong include; ventora_model_library/ventora_ui_library check that a library links only
# libraries of allowed folders. "cmake -P cmake/LayerCheck.cmake" runs the include check alone
# (ctest does, as test "layer_check").
if(CMAKE_SCRIPT_MODE_FILE)
    cmake_policy(VERSION 3.25)
endif()

set(VENTORA_LAYERS
    "core:"
    "serial:core"
    "files:core"
    "protocol:core serial files"
    "controls:core"
    "chart:core controls"
    "export:core files controls stats"
    "print:core files chart controls"
    "stats:core files"
    "mqtt:core files stats"
    "viewers:core files chart controls export print"
    "app:core serial files protocol controls chart export print stats mqtt viewers"
    "setup:core controls"
    "uninstall:core controls setup"
    "tools:core serial files protocol controls chart export print stats mqtt tools"
    "resources:"
)

# Sets out_var to the folders that `folder` may include from (itself among them); an unknown
# folder sets it to "UNKNOWN".
function(ventora_allowed_folders folder out_var)
    foreach(entry IN LISTS VENTORA_LAYERS)
        string(REPLACE ":" ";" parts "${entry}")
        list(GET parts 0 name)
        if(name STREQUAL folder)
            set(allowed ${folder})
            list(LENGTH parts count)
            if(count GREATER 1)
                list(GET parts 1 below)
                string(REPLACE " " ";" below "${below}")
                list(APPEND allowed ${below})
            endif()
            set(${out_var} ${allowed} PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${out_var} UNKNOWN PARENT_SCOPE)
endfunction()

# Scans every header and source below `root` (tests/ and bench/ aside) and stops with a list of
# the includes that break the table.
function(ventora_check_includes root)
    file(GLOB folders LIST_DIRECTORIES true RELATIVE ${root} ${root}/*)
    set(files "")
    foreach(folder IN LISTS folders)
        if(IS_DIRECTORY ${root}/${folder} AND NOT folder MATCHES "^(tests|bench|build.*|run-work|\\..*)$")
            file(GLOB_RECURSE found RELATIVE ${root} ${root}/${folder}/*.h ${root}/${folder}/*.cpp)
            list(APPEND files ${found})
        endif()
    endforeach()
    set(violations "")
    foreach(file IN LISTS files)
        string(REGEX MATCH "^[^/]+" folder "${file}")
        ventora_allowed_folders(${folder} allowed)
        if(allowed STREQUAL "UNKNOWN")
            list(APPEND violations "${file}: folder '${folder}' has no row in the layer table")
            continue()
        endif()
        file(STRINGS ${root}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^/\"]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^/\"]+)/.*" "\\1" target "${line}")
            if(NOT target IN_LIST allowed)
                string(STRIP "${line}" line)
                list(APPEND violations "${file}: ${line} (${folder} may include: ${allowed})")
            endif()
        endforeach()
    endforeach()
    if(violations)
        list(JOIN violations "\n  " text)
        message(FATAL_ERROR "Includes against the layer table (cmake/LayerCheck.cmake):\n  ${text}")
    endif()
endfunction()

# Called by the library helpers: records that `library`, built in the current folder, links the
# libraries listed after it. ventora_check_library_depends_all() checks them once all exist.
function(ventora_check_library_depends library)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    string(REGEX MATCH "^[^/]+" folder "${relative}")
    set_property(GLOBAL PROPERTY VENTORA_FOLDER_OF_${library} ${folder})
    set_property(GLOBAL PROPERTY VENTORA_DEPENDS_OF_${library} ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VENTORA_CHECKED_LIBRARIES ${library})
endfunction()

# Stops the configure when a library links a library of a folder it may not depend on.
function(ventora_check_library_depends_all)
    get_property(libraries GLOBAL PROPERTY VENTORA_CHECKED_LIBRARIES)
    foreach(library IN LISTS libraries)
        get_property(folder GLOBAL PROPERTY VENTORA_FOLDER_OF_${library})
        if(folder MATCHES "^(tests|bench)$")
            continue()
        endif()
        ventora_allowed_folders(${folder} allowed)
        get_property(dependencies GLOBAL PROPERTY VENTORA_DEPENDS_OF_${library})
        foreach(dependency IN LISTS dependencies)
            get_property(dependency_folder GLOBAL PROPERTY VENTORA_FOLDER_OF_${dependency})
            if(dependency_folder AND NOT dependency_folder IN_LIST allowed)
                message(FATAL_ERROR "${library} (${folder}/) links ${dependency} "
                                    "(${dependency_folder}/), which the layer table does not allow")
            endif()
        endforeach()
    endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    get_filename_component(root ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)
    ventora_check_includes(${root})
else()
    ventora_check_includes(${PROJECT_SOURCE_DIR})
endif()
