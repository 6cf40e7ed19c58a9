# Bash completion made from a program's own --help when the program is built
# (make_bash_completion.sh), so that it offers what the program takes today.
include(GNUInstallDirs)

# rk_bash_completion(<target>): the completion for the command <target>,
# installed where bash-completion looks for it.
function(rk_bash_completion target)
    set(script "${REELKEEPER_COMPLETION_DIR}/${target}")
    set(home "${REELKEEPER_COMPLETION_DIR}/home")
    add_custom_command(
        OUTPUT "${script}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${home}"
        # Asking for help must touch no catalogue or settings of the builder's.
        COMMAND "${CMAKE_COMMAND}" -E env ASAN_OPTIONS=detect_leaks=0 "XDG_DATA_HOME=${home}"
                "XDG_CONFIG_HOME=${home}" bash "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/make_bash_completion.sh"
                "$<TARGET_FILE:${target}>" "${target}" "${script}"
        DEPENDS ${target} "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/make_bash_completion.sh"
        COMMENT "Writing the bash completion of ${target}"
        VERBATIM)
    add_custom_target(${target}_bash_completion ALL DEPENDS "${script}")
    set_property(GLOBAL APPEND PROPERTY REELKEEPER_COMPLETIONS ${target})
    install(FILES "${script}" DESTINATION "${CMAKE_INSTALL_DATADIR}/bash-completion/completions")
endfunction()
