# Manual pages made from the programs themselves, so that they cannot drift
# from --help: help2man runs the built program with --help and --version and
# adds the sections of an include file (files, environment, exit status,
# examples). The pages are installed gzipped into share/man/man1.
include(GNUInstallDirs)

find_program(HELP2MAN_PROGRAM help2man)
find_program(GZIP_PROGRAM gzip REQUIRED)
if(NOT HELP2MAN_PROGRAM)
    message(WARNING "help2man was not found: the manual pages are not made "
                    "(Debian package help2man; scripts/install-deps.sh installs it)")
endif()

# rk_man_page(<target> <one-line summary> <include file> [COMMANDS]): the
# section 1 page <target>.1.gz in the build's man folder, installed into
# share/man/man1. COMMANDS: the program has commands ("<target> <command>"),
# and the page documents each one from "<target> <command> --help" too.
function(rk_man_page target summary include_file)
    cmake_parse_arguments(ARG "COMMANDS" "" "" ${ARGN})
    if(NOT HELP2MAN_PROGRAM)
        return()
    endif()
    get_filename_component(include_file "${include_file}" ABSOLUTE)
    # help2man runs this through the shell, followed by --help or --version.
    set(program "$<TARGET_FILE:${target}>")
    if(ARG_COMMANDS)
        set(program "bash ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/help_with_commands.sh ${program}")
    endif()
    set(page "${REELKEEPER_MAN_DIR}/${target}.1")
    add_custom_command(
        OUTPUT "${page}.gz"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${REELKEEPER_MAN_DIR}/home"
        # The program may be a sanitizer build; its --help is not the place for a
        # leak report. Asking for help must touch no catalogue or settings of the builder's.
        # help2man reads the help as UTF-8 (its default locale C would turn accented
        # header names into question marks).
        COMMAND "${CMAKE_COMMAND}" -E env ASAN_OPTIONS=detect_leaks=0 LC_ALL=C.UTF-8
                "XDG_DATA_HOME=${REELKEEPER_MAN_DIR}/home" "XDG_CONFIG_HOME=${REELKEEPER_MAN_DIR}/home"
                "${HELP2MAN_PROGRAM}" --no-info --no-discard-stderr --locale=C.UTF-8 "--name=${summary}"
                "--include=${include_file}" "--output=${page}" "${program}"
        COMMAND "${GZIP_PROGRAM}" -9nf "${page}"
        DEPENDS ${target} "${include_file}" "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/help_with_commands.sh"
        COMMENT "Writing the manual page ${target}(1)"
        VERBATIM)
    add_custom_target(${target}_man_page ALL DEPENDS "${page}.gz")
    set_property(GLOBAL APPEND PROPERTY REELKEEPER_MAN_PAGES ${target})
    install(FILES "${page}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endfunction()
