# The layers of the program, lowest first. A library of one layer sees only
# the folders listed for it, so an include that runs upward fails to build.
# Each layer gets an include root of its own under the build tree holding
# links to exactly those folders, and includes are written from the project
# root ("store/pw.h").
set(QVS_LAYER_store     store)
set(QVS_LAYER_frame     ${QVS_LAYER_store} frame)
set(QVS_LAYER_autotype  ${QVS_LAYER_frame} autotype)
set(QVS_LAYER_dialogs   ${QVS_LAYER_autotype} dialogs)
set(QVS_LAYER_app       ${QVS_LAYER_dialogs} app)
set(QVS_LAYER_export    ${QVS_LAYER_app} export)
set(QVS_LAYER_mainwin   ${QVS_LAYER_export} mainwin)
set(QVS_LAYER_tray      ${QVS_LAYER_export} tray)
set(QVS_LAYER_qvs       ${QVS_LAYER_export} mainwin tray qvs)
set(QVS_LAYER_qvslite   ${QVS_LAYER_export} tray qvslite)
set(QVS_LAYER_cli       ${QVS_LAYER_store} cli)
set(QVS_LAYER_clip      ${QVS_LAYER_autotype} clip)

# Gives TARGET the include root of LAYER (and, through PUBLIC, whoever links it).
function(qvs_layer target layer)
    if(NOT DEFINED QVS_LAYER_${layer})
        message(FATAL_ERROR "Unknown layer '${layer}' for ${target}")
    endif()
    set(root ${PROJECT_BINARY_DIR}/layers/${layer})
    file(MAKE_DIRECTORY ${root})
    foreach(folder ${QVS_LAYER_${layer}})
        if(EXISTS ${PROJECT_SOURCE_DIR}/${folder} AND NOT EXISTS ${root}/${folder})
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
endfunction()
