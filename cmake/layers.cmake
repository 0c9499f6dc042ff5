# The layers of the program, lowest first. A library of one layer sees only
# the folders listed for it, so an include that runs upward fails to build.
# Each layer gets an include root of its own under the build tree holding
# links to exactly those folders, and includes are written from the project
# root ("store/pw.h").
# The store's own floors: its cryptography at the bottom; the headers both
# data-file formats share above it; each format above those, seeing neither
# the other format nor the rest of the store; and the store itself, which
# sees all of it.
set(QVS_STORE_SHARED    store/codec.h store/errors.h store/records.h store/keyed_collection.h
                        store/codepage.h store/bytes.h store/vbdate.h)
set(QVS_LAYER_store_crypto  store/crypto)
set(QVS_LAYER_store_legacy  ${QVS_LAYER_store_crypto} ${QVS_STORE_SHARED} store/legacy)
set(QVS_LAYER_store_format2 ${QVS_LAYER_store_crypto} ${QVS_STORE_SHARED} store/format2)
set(QVS_LAYER_store     store)
set(QVS_LAYER_frame     ${QVS_LAYER_store} frame)
set(QVS_LAYER_autotype  ${QVS_LAYER_frame} autotype)
set(QVS_LAYER_dialogs   ${QVS_LAYER_autotype} dialogs)
set(QVS_LAYER_app       ${QVS_LAYER_dialogs} app)
set(QVS_LAYER_export    ${QVS_LAYER_app} export)
set(QVS_LAYER_mainwin   ${QVS_LAYER_export} mainwin)
set(QVS_LAYER_tray      ${QVS_LAYER_export} tray)
# The browser layer reaches qvs-proxy's framing and socket path, plain C++ of its own.
set(QVS_LAYER_browser   ${QVS_LAYER_app} proxy browser)
set(QVS_LAYER_qvs       ${QVS_LAYER_export} mainwin tray browser qvs)
set(QVS_LAYER_qvslite   ${QVS_LAYER_export} tray qvslite)
set(QVS_LAYER_cli       ${QVS_LAYER_store} cli)
set(QVS_LAYER_clip      ${QVS_LAYER_autotype} clip)
set(QVS_LAYER_proxy     ${QVS_LAYER_store} proxy)

# Gives TARGET the include root of LAYER (and, through PUBLIC, whoever links it).
function(qvs_layer target layer)
    if(NOT DEFINED QVS_LAYER_${layer})
        message(FATAL_ERROR "Unknown layer '${layer}' for ${target}")
    endif()
    set(root ${PROJECT_BINARY_DIR}/layers/${layer})
    file(MAKE_DIRECTORY ${root})
    # An entry is a folder or a single header, linked at its own path.
    foreach(entry ${QVS_LAYER_${layer}})
        if(EXISTS ${PROJECT_SOURCE_DIR}/${entry} AND NOT EXISTS ${root}/${entry})
            get_filename_component(parent ${root}/${entry} DIRECTORY)
            file(MAKE_DIRECTORY ${parent})
            file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${entry} ${root}/${entry} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
endfunction()
