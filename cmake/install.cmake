# What `cmake --install` and the packages put in place: the programs, and
# beside them their manual pages on Linux or a short text of use on Windows.
include(GNUInstallDirs)

if(WIN32)
    # A console program unpacked from a zip: the executable stays at the top,
    # next to its text, where the Command Prompt finds it.
    set(filegen_program_dir .)
else()
    set(filegen_program_dir ${CMAKE_INSTALL_BINDIR})
endif()

install(TARGETS filegen filegen-check RUNTIME DESTINATION ${filegen_program_dir})

if(WIN32)
    # Kept with plain line ends in the repository; Notepad of old wants CRLF.
    configure_file(packaging/windows/README.txt README.txt @ONLY NEWLINE_STYLE CRLF)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)
else()
    # Installed compressed, as Debian's policy wants; -n keeps the name and
    # the time out of the archive, so every build gives the same bytes.
    set(filegen_manual_pages filegen.1 filegen-check.1)
    foreach(page IN LISTS filegen_manual_pages)
        add_custom_command(OUTPUT man/${page}.gz
            COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/man/${page} man/${page}
            COMMAND gzip -9nf man/${page}
            DEPENDS ${PROJECT_SOURCE_DIR}/man/${page}
            VERBATIM)
        list(APPEND filegen_compressed_pages ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
    endforeach()
    add_custom_target(manual_pages ALL DEPENDS ${filegen_compressed_pages})
    install(FILES ${filegen_compressed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
