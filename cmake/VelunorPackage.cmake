# Helpers that keep every package folder's CMakeLists.txt to a few lines.

# vxcore_headless holds everything of the core that must run without a display
# (parsing, repository, loading, configuration). It links Qt Core and Sql only,
# so a widget header included there fails the build.
function(velunor_add_core)
    add_library(vxcore_headless OBJECT)
    target_include_directories(vxcore_headless PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_definitions(vxcore_headless PUBLIC QT_NO_KEYWORDS PRIVATE VXCORE_LIBRARY)
    target_link_libraries(vxcore_headless PUBLIC Qt6::Core Qt6::Sql)
    set_target_properties(vxcore_headless PROPERTIES CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)

    add_library(vxlib0100 SHARED)
    target_compile_definitions(vxlib0100 PRIVATE VXCORE_LIBRARY)
    # Widgets stay private: display-free packages see only the display-free headers.
    target_link_libraries(vxlib0100 PUBLIC vxcore_headless PRIVATE Qt6::Widgets ${CMAKE_DL_LIBS})
    _velunor_package_properties(vxlib0100)
endfunction()

macro(_velunor_package_properties name)
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY ${VELUNOR_PACKAGE_DIR}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        BUILD_RPATH "$ORIGIN"
        INSTALL_RPATH "$ORIGIN")
    install(TARGETS ${name} LIBRARY DESTINATION ${VELUNOR_INSTALL_DIR})
endmacro()

# velunor_add_package(vxlibNNNN SOURCES ... [DEPENDS ...] [GUI])
# A plug-in package: a shared library named like its package file, found by
# name at start-up. Display-free packages link Qt Core and Sql only.
function(velunor_add_package name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;DEPENDS" ${ARGN})
    option(VELUNOR_BUILD_${name} "Build the package ${name}" ON)
    if(NOT VELUNOR_BUILD_${name})
        return()
    endif()
    add_library(${name} MODULE ${ARG_SOURCES})
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE vxlib0100 Qt6::Widgets ${ARG_DEPENDS})
    else()
        # Headless packages see only the core's display-free headers.
        target_link_libraries(${name} PRIVATE vxlib0100 ${ARG_DEPENDS})
        target_compile_definitions(${name} PRIVATE VELUNOR_HEADLESS_PACKAGE)
    endif()
    _velunor_package_properties(${name})
endfunction()

# velunor_add_test(name SOURCES ... [DEPENDS ...] [NEEDS_GUI])
function(velunor_add_test name)
    cmake_parse_arguments(ARG "NEEDS_GUI" "" "SOURCES;DEPENDS;FIXTURES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_NEEDS_GUI)
        set(testmain velunor_testmain_gui)
    else()
        set(testmain velunor_testmain_core)
    endif()
    target_link_libraries(${name} PRIVATE vxlib0100 ${testmain} ${ARG_DEPENDS})
    velunor_use_fast_allocator(${name})
    set_target_properties(${name} PROPERTIES BUILD_RPATH "${VELUNOR_PACKAGE_DIR}")
    set(env "")
    set(label core)
    if(ARG_NEEDS_GUI)
        list(APPEND env QT_QPA_PLATFORM=offscreen)
        set(label gui)
    endif()
    set(properties LABELS ${label})
    if(env)
        list(APPEND properties ENVIRONMENT "${env}")
    endif()
    if(ARG_FIXTURES)
        list(APPEND properties FIXTURES_REQUIRED ${ARG_FIXTURES})
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()

# velunor_add_fixture(name SOURCES ... [DEPENDS ...]): a small package built only for the
# tests (a window class, a broken package...), placed in the fixture folder.
function(velunor_add_fixture name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;DEFINITIONS" ${ARGN})
    add_library(${name} MODULE ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE vxlib0100 Qt6::Widgets ${ARG_DEPENDS})
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fixtures
        CXX_VISIBILITY_PRESET hidden
        BUILD_RPATH "${VELUNOR_PACKAGE_DIR}")
endfunction()

# velunor_use_fast_allocator(target): a load allocates and frees a few short strings per
# word of source; mimalloc does that in a fraction of glibc's time. It replaces malloc for
# the whole process only when the executable itself lists it before the C library, so
# every executable links it directly (and keeps it even though it calls none of it).
option(VELUNOR_FAST_ALLOCATOR "Link the executables with mimalloc when it is installed" ON)
if(VELUNOR_FAST_ALLOCATOR)
    find_library(VELUNOR_MIMALLOC_LIBRARY NAMES mimalloc)
    if(NOT VELUNOR_MIMALLOC_LIBRARY)
        message(STATUS "mimalloc not found (Debian package libmimalloc-dev): "
                       "the executables use the C library's allocator")
    endif()
endif()
function(velunor_use_fast_allocator target)
    if(VELUNOR_FAST_ALLOCATOR AND VELUNOR_MIMALLOC_LIBRARY)
        target_link_libraries(${target} PRIVATE
            -Wl,--push-state,--no-as-needed ${VELUNOR_MIMALLOC_LIBRARY} -Wl,--pop-state)
    endif()
endfunction()
