# The native Linux build is what the Debian package is made from, so it is
# hardened as Debian builds its packages: with the flags dpkg-buildflags
# gives, every hardening feature on (fortified string and memory calls,
# the strong stack protector, read-only relocations bound at start, format
# checks), and a position-independent executable. The optimisation, debug
# and path-mapping flags it adds are left to the build type, so the code is
# optimised as in any other build; the picture is the same bit for bit.
# Without dpkg-buildflags (not a Debian system) the build is not hardened.
if(NOT TINTWALK_HARDENING OR WIN32 OR EMSCRIPTEN OR TINTWALK_SANITIZE OR TINTWALK_FUZZ)
  return()
endif()
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
  message(STATUS "dpkg-buildflags not found: the build is not hardened")
  return()
endif()

# tintwalk_buildflags(KIND OUT): dpkg-buildflags --get KIND as a list, less
# the flags that are not hardening.
function(tintwalk_buildflags kind out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(g|O.*|f(file|debug|macro)-prefix-map=.*)$")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

tintwalk_buildflags(CPPFLAGS preprocessor)
tintwalk_buildflags(CXXFLAGS compiler)
tintwalk_buildflags(LDFLAGS linker)
# Position-independent executables: their libraries are all static, and are
# built for an executable (-fPIE) rather than for a shared library (-fPIC,
# which forbids inlining across their functions and made a step 15 % longer).
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:${preprocessor};${compiler};-fPIE>")
add_link_options(${linker} -pie)
list(JOIN preprocessor " " shown)
list(JOIN compiler " " shown_compiler)
list(JOIN linker " " shown_linker)
message(STATUS "Hardened with: ${shown} ${shown_compiler} ${shown_linker}, position-independent")
