# Language tables, icons, help pages and passphrase word lists, compiled
# into a target under ":/".
function(qvs_add_resources target)
    set(root ${PROJECT_SOURCE_DIR}/resources)
    file(GLOB_RECURSE files CONFIGURE_DEPENDS
        ${root}/lang/* ${root}/icons/*.svg ${root}/help/* ${root}/words/*)
    if(files)
        qt_add_resources(${target} "qvs_resources" PREFIX "/" BASE ${root}
            FILES ${files})
    endif()
endfunction()
