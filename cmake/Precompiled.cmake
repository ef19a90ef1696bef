# Precompiled headers: the Qt and standard headers nearly every file includes,
# parsed once per family of targets instead of once per source file. A family
# is the set of Qt modules its targets use, so a library without widgets still
# cannot use a widget by accident. Only Qt's, the standard library's and the
# test framework's headers go in, never a project header: a library's headers
# stay reachable only through linking it.

option(DEPOTBASE_PCH "Precompile the Qt headers the sources use most" ON)

# Qt's core and the standard library, used everywhere.
set(DEPOTBASE_PCH_CORE
    <QString> <QStringList> <QVariant> <QList> <QHash> <QByteArray> <QDate> <QDateTime>
    <QFile> <QFileInfo> <QDir> <QRegularExpression> <QCoreApplication> <QElapsedTimer>
    <algorithm> <array> <functional> <memory> <optional> <utility> <vector>)
set(DEPOTBASE_PCH_SQL
    <QSqlDatabase> <QSqlQuery> <QSqlError> <QSqlRecord> <QSqlField> <QSqlDriver>)
set(DEPOTBASE_PCH_WIDGETS
    <QWidget> <QDialog> <QApplication> <QAction> <QKeyEvent> <QIcon> <QComboBox>
    <QPushButton> <QLineEdit> <QLabel> <QCheckBox> <QToolBar> <QVBoxLayout> <QHBoxLayout>
    <QTableView> <QHeaderView> <QTreeWidget> <QAbstractItemModel>)

# The families. The compiler uses a precompiled header only when every macro
# defined for it is defined alike for the source, and Qt defines one macro per
# module linked: so a family's header is made with the fewest modules any of
# its targets links. The windows' family leaves out the database headers
# (the dialog library links no database module), the test programs' family
# has all of them and the test framework.
set(DEPOTBASE_PCH_DATABASE ${DEPOTBASE_PCH_CORE} ${DEPOTBASE_PCH_SQL})
set(DEPOTBASE_PCH_WINDOWS ${DEPOTBASE_PCH_CORE} ${DEPOTBASE_PCH_WIDGETS})
set(DEPOTBASE_PCH_TESTS ${DEPOTBASE_PCH_DATABASE} ${DEPOTBASE_PCH_WIDGETS} <gtest/gtest.h>)

# Makes `owner` compile the precompiled header of `headers` (a list variable's
# name). The project has C++ sources only.
function(depotbase_pch_owner owner headers)
    target_precompile_headers(${owner} PRIVATE ${${headers}})
endfunction()

# An object library of one empty file that owns a family's header.
function(depotbase_pch_family owner headers)
    set(source ${PROJECT_BINARY_DIR}/pch/${owner}.cpp)
    if(NOT EXISTS ${source})
        file(WRITE ${source} "// Compiles the precompiled header of ${owner}.\n")
    endif()
    add_library(${owner} OBJECT ${source})
    set_target_properties(${owner} PROPERTIES AUTOMOC OFF AUTORCC OFF)
    target_link_libraries(${owner} PRIVATE ${ARGN})
    depotbase_pch_owner(${owner} ${headers})
endfunction()

# Sets `out` to TRUE when `target` links `wanted`, directly or through the
# libraries it links.
function(depotbase_links target wanted out)
    set(pending ${target})
    set(seen "")
    while(pending)
        list(POP_FRONT pending current)
        if(current IN_LIST seen OR NOT TARGET ${current})
            continue()
        endif()
        list(APPEND seen ${current})
        depotbase_linked_targets(${current} linked)
        foreach(item IN LISTS linked)
            if(item STREQUAL wanted)
                set(${out} TRUE PARENT_SCOPE)
                return()
            endif()
            list(APPEND pending ${item})
        endforeach()
    endwhile()
    set(${out} FALSE PARENT_SCOPE)
endfunction()

# Every compiled target of `dir` and of the folders below it.
function(depotbase_targets_below dir out)
    get_property(found DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        depotbase_targets_below(${subdir} below)
        list(APPEND found ${below})
    endforeach()
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# Gives every target of the tree the header of its family: the test programs
# that of the test support library, the targets with widgets and those with
# the database module theirs. Targets without them (the X11 timing helper)
# get none.
function(depotbase_precompile_all)
    if(NOT DEPOTBASE_PCH)
        return()
    endif()
    depotbase_pch_family(depotbase_pch_database DEPOTBASE_PCH_DATABASE Qt6::Sql)
    depotbase_pch_family(depotbase_pch_windows DEPOTBASE_PCH_WINDOWS Qt6::Widgets)
    set(tests_owner "")
    if(TARGET depotbase_testsupport)
        set(tests_owner depotbase_testsupport)
        depotbase_pch_owner(${tests_owner} DEPOTBASE_PCH_TESTS)
    endif()
    depotbase_targets_below(${PROJECT_SOURCE_DIR} targets)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|EXECUTABLE)$"
           OR target STREQUAL tests_owner)
            continue()
        endif()
        set(owner "")
        depotbase_links(${target} Qt6::Widgets widgets)
        depotbase_links(${target} Qt6::Sql database)
        if(tests_owner)
            depotbase_links(${target} ${tests_owner} tested)
        endif()
        if(tested)
            set(owner ${tests_owner})
        elseif(widgets)
            set(owner depotbase_pch_windows)
        elseif(database)
            set(owner depotbase_pch_database)
        endif()
        if(owner)
            target_precompile_headers(${target} REUSE_FROM ${owner})
        endif()
    endforeach()
endfunction()
