# cmake -DFRAMEWORK_DIR=... -DKIT_DIR=... -P NoKitIncludes.cmake
# Fails, naming file and header, when a file under FRAMEWORK_DIR includes a header of the kit: one
# whose name is a header of KIT_DIR (or the kit's generated KitExport.h), or any path through kit/.
cmake_minimum_required(VERSION 3.25)

file(GLOB_RECURSE kit_headers RELATIVE ${KIT_DIR} ${KIT_DIR}/*.h)
list(TRANSFORM kit_headers REPLACE ".*/" "")
list(APPEND kit_headers KitExport.h)
file(GLOB_RECURSE framework_files ${FRAMEWORK_DIR}/*.h ${FRAMEWORK_DIR}/*.cpp)

set(offences "")
foreach(path IN LISTS framework_files)
    file(STRINGS ${path} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
        if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
            set(header ${CMAKE_MATCH_1})
            get_filename_component(name ${header} NAME)
            if(name IN_LIST kit_headers OR header MATCHES "(^|/)kit/")
                string(APPEND offences "\n  ${path}: ${header}")
            endif()
        endif()
    endforeach()
endforeach()

list(LENGTH framework_files count)
if(count EQUAL 0)
    message(FATAL_ERROR "no framework files under ${FRAMEWORK_DIR}")
endif()
if(offences)
    message(FATAL_ERROR "framework files include kit headers:${offences}")
endif()
message(STATUS "${count} framework files, none includes a kit header")
