# Installs Quillbox as a Linux desktop application: the program in bin/, its desktop entry,
# icons and metainfo under share/, and the licence and help manual in share/doc/quillbox/.
install(TARGETS quillbox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(QUILLBOX_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quillbox)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${QUILLBOX_INSTALL_DOCDIR})
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/help/Quillbox.html)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/help/Quillbox.html DESTINATION ${QUILLBOX_INSTALL_DOCDIR})
endif()
