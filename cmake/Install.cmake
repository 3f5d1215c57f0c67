# The host as an installed desktop program, and its Debian package (cpack -G DEB in the release
# build). The installed tree, under any prefix:
#   bin/memohost                                   RPATH $ORIGIN/<the private folder>
#   <libdir>/memohost/lib{memo,memostore,zorvaframework,zorvakit,hostadapter,memohostsync}.so    RPATH $ORIGIN
#   share/applications/memohost.desktop
#   share/icons/hicolor/<size>x<size>/apps/memohost.png
#   share/doc/memohost/README.md
set(memo_private_libs memo memostore zorvaframework zorvakit hostadapter memohostsync)
set_target_properties(${memo_private_libs} PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS memohost RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS ${memo_private_libs} LIBRARY DESTINATION ${MEMO_INSTALL_PRIVATE_LIBDIR})
install(FILES ${CMAKE_SOURCE_DIR}/host/desktop/memohost.desktop
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
foreach(size 48 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/host/desktop/icons/${size}/memohost.png
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/memohost)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME memohost)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Memo module team <memo-team@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop host with the memo module: short notes in categories")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "MemoHost loads the memo module and shows its page of short notes: a memo list filtered by\n"
    "category and by a live search, a pane that shows and edits the selected memo, and an\n"
    "editor for categories. Each user's memos are kept in one SQLite database.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries' packages (Qt 6, SQLite, pugixml, the C++ runtime) come from dpkg-shlibdeps; the
# font is needed for the Chinese texts, which would otherwise show as boxes.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei")
# Qt's own buttons and menus in Chinese, without it they are English; a colour emoji font, without
# it emoji in memos show as empty boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-color-emoji")
include(CPack)

# Installing (and so cpack) takes what is built and does not build the whole tree first: the tests
# and benchmarks of a release build are not needed for the program. Build the host and the module
# (cmake --build --target memohost memo), then install or package.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
