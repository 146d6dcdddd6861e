# Helpers that keep every package folder's CMakeLists.txt to a few lines.

# The core is two shared libraries. vxcore holds everything that must run without a
# display (base, repository, parsing, loading, query, the service object's registry and
# loading); it links Qt Core and Sql only, so a widget header included there fails the
# build, and velunor-cli, the language packages and the drivers link it alone. vxlib0100
# is the core package proper: the window half (service object with windows, window base,
# dialogs, progress window), linking vxcore and Qt Widgets.
function(velunor_add_core)
    add_library(vxcore SHARED)
    target_include_directories(vxcore PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_definitions(vxcore PUBLIC QT_NO_KEYWORDS PRIVATE VXCORE_LIBRARY)
    target_link_libraries(vxcore PUBLIC Qt6::Core Qt6::Sql)
    _velunor_package_properties(vxcore)

    add_library(vxlib0100 SHARED)
    target_compile_definitions(vxlib0100 PRIVATE VXCORE_LIBRARY)
    target_link_libraries(vxlib0100 PUBLIC vxcore PRIVATE Qt6::Widgets ${CMAKE_DL_LIBS})
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
# name at start-up. Display-free packages link vxcore (Qt Core and Sql) only.
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
        # Display-free packages link the display-free core alone, so that velunor-cli
        # loads them where no widget library is installed.
        target_link_libraries(${name} PRIVATE vxcore ${ARG_DEPENDS})
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
