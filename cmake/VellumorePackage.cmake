# The Debian package, made by `cmake --build build --target package` from the install
# rules: the program under /usr, its dependencies read off the libraries it links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumore)
set(CPACK_PACKAGE_VENDOR "Vellumore maintainers")
set(CPACK_PACKAGE_CONTACT "Vellumore maintainers <maintainers@vellumore.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "practice for the securities-industry qualification exam")
set(CPACK_PACKAGE_DESCRIPTION
    "Vellumore prepares candidates for the national securities-industry
qualification exam. Its questions are arranged in a catalogue of projects,
subjects and sections: practise a section question by question, look up the
standard answers, mark favourites, keep notes, search the whole bank, follow
the progress statistics and sit timed mock exams composed at random. Every
answer is saved at once in one encrypted question bank. The windows and the
guide are in Chinese.

The package also holds vellumore-bank, which builds, lists and adds questions
to question banks from the command line, and a sample bank.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.vellumore.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the linker cannot see. Everything the candidate reads is Chinese: the windows name
# Noto Sans CJK, and Qt's own dialog texts come from the distribution's translations. The
# desktop's opener shows exported papers and web pages.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Directories the install creates get 0755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
