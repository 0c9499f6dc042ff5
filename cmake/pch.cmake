# Precompiled Qt headers: parsing them is most of the time of compiling a
# source file here. One precompiled header per set of Qt modules, compiled
# once and reused by every target of that set (REUSE_FROM). GCC uses a
# precompiled header only where the macros it depends on are the same, so
# the sets follow the QT_*_LIB macros that Qt Test's headers look at; a
# target outside the sets parses its headers as usual. The store stays
# without one, so its sources keep naming every header they need.
option(QVS_PCH "Precompile the Qt headers" ON)
if(QVS_PCH)
    # A precompiled header that does not fit a target is only slower: the
    # compiler says so, and with warnings as errors it must not stop the build.
    add_compile_options(-Wno-error=invalid-pch)
endif()

set(QVS_PCH_QT_HEADERS
    <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QDir> <QFile> <QFileInfo>
    <QHBoxLayout> <QHeaderView> <QLabel> <QLineEdit> <QMenu> <QObject> <QPlainTextEdit>
    <QPointer> <QPushButton> <QRegularExpression> <QString> <QStringList> <QTabWidget>
    <QTimer> <QTreeWidget> <QVBoxLayout> <QVariant> <QWidget>
    <algorithm> <functional> <memory> <optional> <string> <vector>)

# Qt Test's own defines name the test's folders by absolute path: they would
# make every test's precompiled header different, and a clone in another
# folder miss the compiler cache. Nothing here looks for test data by them.
set_target_properties(Qt6::Test PROPERTIES INTERFACE_COMPILE_DEFINITIONS QT_TESTLIB_LIB)

function(qvs_pch_source name)
    add_library(${name} OBJECT ${PROJECT_SOURCE_DIR}/cmake/pch.cpp)
    target_link_libraries(${name} PRIVATE ${ARGN})
endfunction()

if(QVS_PCH)
    # The programs and their libraries.
    qvs_pch_source(qvs_pch_widgets Qt6::Widgets)
    target_precompile_headers(qvs_pch_widgets PRIVATE ${QVS_PCH_QT_HEADERS})
endif()
if(QVS_PCH AND BUILD_TESTING)
    # Tests of the layers below app, and of those from app up (Qt Test adds
    # its network helpers where QtNetwork is linked).
    set(test_headers ${QVS_PCH_QT_HEADERS} <QtTest> <QTemporaryDir> <QSignalSpy>)
    qvs_pch_source(qvs_pch_test Qt6::Widgets Qt6::Test)
    target_precompile_headers(qvs_pch_test PRIVATE ${test_headers})
    qvs_pch_source(qvs_pch_test_network Qt6::Widgets Qt6::Test Qt6::Network)
    target_precompile_headers(qvs_pch_test_network PRIVATE ${test_headers})
endif()

# Gives TARGET the precompiled header of SET (widgets, test, test_network).
function(qvs_use_pch target set)
    if(QVS_PCH)
        target_precompile_headers(${target} REUSE_FROM qvs_pch_${set})
    endif()
endfunction()
