# Debian's hardening flags, as dpkg-buildflags gives them with every hardening feature on,
# plus stack clash and control-flow protection, which newer Debian and Ubuntu releases add
# themselves. Optimisation, debug information and path maps stay the build type's.
find_program(VELO_DPKG_BUILDFLAGS dpkg-buildflags)
set(velo_harden_compile)
set(velo_harden_link)
if(VELO_DPKG_BUILDFLAGS)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                                ${VELO_DPKG_BUILDFLAGS} --get ${kind}
                        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
                        COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        foreach(flag IN LISTS flags)
            if(flag MATCHES "^-(O|g|f[a-z]+-prefix-map=)")
                continue()
            endif()
            if(kind STREQUAL "LDFLAGS")
                list(APPEND velo_harden_link ${flag})
            else()
                list(APPEND velo_harden_compile ${flag})
            endif()
        endforeach()
    endforeach()
else()
    set(velo_harden_compile -Wdate-time -D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat
                            -Werror=format-security)
    set(velo_harden_link -Wl,-z,relro -Wl,-z,now)
endif()

include(CheckCXXCompilerFlag)
check_cxx_compiler_flag(-fstack-clash-protection VELO_HAS_STACK_CLASH_PROTECTION)
check_cxx_compiler_flag(-fcf-protection VELO_HAS_CF_PROTECTION)
if(VELO_HAS_STACK_CLASH_PROTECTION)
    list(APPEND velo_harden_compile -fstack-clash-protection)
endif()
# Debian 12's C start files carry no control-flow marks, so the linker would drop ours; the
# program is marked as built for it. The loader turns the protection on only when every
# library it loads is marked too.
include(CheckLinkerFlag)
check_linker_flag(CXX "-Wl,-z,ibt,-z,shstk" VELO_HAS_CET_MARKS)
if(VELO_HAS_CF_PROTECTION)
    list(APPEND velo_harden_compile -fcf-protection)
    if(VELO_HAS_CET_MARKS)
        list(APPEND velo_harden_link -Wl,-z,ibt,-z,shstk)
    endif()
endif()

message(STATUS "Hardening: ${velo_harden_compile} ${velo_harden_link}")
target_compile_options(velo_flags INTERFACE ${velo_harden_compile})
target_link_options(velo_flags INTERFACE ${velo_harden_link})
