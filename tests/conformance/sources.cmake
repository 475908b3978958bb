# The conformance program's sources, shared by the native build and the Windows cross build.
set(INISTORE_CONFORMANCE_SOURCES
    backupscenarios.cpp
    check.cpp check.h
    filenamescenarios.cpp
    heldfile.cpp heldfile.h
    lockscenarios.cpp
    main.cpp
    mergescenarios.cpp
    programarguments.cpp programarguments.h
    replacescenarios.cpp
    roundtripscenarios.cpp
    scenario.h
    testfolder.cpp testfolder.h
)
list(TRANSFORM INISTORE_CONFORMANCE_SOURCES PREPEND "${CMAKE_CURRENT_LIST_DIR}/")
