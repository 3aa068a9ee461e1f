# The code a start runs, laid out together at the front of the program: the system maps a
# program in runs of pages around each one touched, so start-up code strewn among the
# windows opened later maps nearly all of it. src/app/start-order.ld names the functions
# (tools/start-order.sh writes it from a traced start); a function it no longer names
# only moves back among the others.
set(VELO_START_ORDER ${PROJECT_SOURCE_DIR}/src/app/start-order.ld)
set(velo_start_order_usable OFF)
if(UNIX AND NOT APPLE AND NOT WIN32 AND NOT VELO_SANITIZE
   AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang" AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    include(CheckLinkerFlag)
    check_linker_flag(CXX "LINKER:-T,${VELO_START_ORDER}" VELO_HAS_START_ORDER)
    set(velo_start_order_usable ${VELO_HAS_START_ORDER})
endif()
if(velo_start_order_usable)
    # One section per function, so the linker can place each one.
    target_compile_options(velo_flags INTERFACE -ffunction-sections)
endif()

function(velo_link_start_order target)
    if(velo_start_order_usable)
        target_link_options(${target} PRIVATE "LINKER:-T,${VELO_START_ORDER}")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${VELO_START_ORDER})
    endif()
endfunction()
