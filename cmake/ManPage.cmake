# Manual pages. Every installed program gets one, so each tool's CMakeLists.txt calls
#   meldlux_man_page(TARGET "one-line description")
# which makes TARGET.1 at build time from the program's --help with help2man and installs it
# gzipped into man1. Pages written by hand go through meldlux_man_page_file(FILE NAME [LANG xx]).
include(GNUInstallDirs)
find_program(MELDLUX_HELP2MAN help2man REQUIRED)
find_program(MELDLUX_GZIP gzip REQUIRED)
set(MELDLUX_MAN_DIR ${CMAKE_BINARY_DIR}/man)

# Every page carries the date of this version's entry in CHANGELOG.md, not the day of the build,
# so that every build of a release gives the same pages.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/CHANGELOG.md)
file(STRINGS ${CMAKE_SOURCE_DIR}/CHANGELOG.md release_heading
     REGEX "^## ${PROJECT_VERSION} \\([0-9]+-[0-9]+-[0-9]+\\)$" ENCODING UTF-8)
if(NOT release_heading MATCHES "\\(([0-9-]+)\\)")
  message(FATAL_ERROR "CHANGELOG.md has no entry \"## ${PROJECT_VERSION} (YYYY-MM-DD)\"")
endif()
set(MELDLUX_RELEASE_DATE ${CMAKE_MATCH_1})

function(meldlux_man_page target description)
  # Only the plain build is packaged; a sanitized program's leak report at exit would fail help2man.
  if(MELDLUX_SANITIZE)
    return()
  endif()
  set(page ${MELDLUX_MAN_DIR}/${target}.1)
  # --version-string: the tools print no --version of their own; the page names the release.
  # A UTF-8 locale keeps the umlauts of German help texts (not of the description: help2man reads
  # that as Latin-1, so it is written without them).
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MELDLUX_MAN_DIR}
    # Run by its bare name from PATH: the help's first line ("Aufruf: NAME ...", which help2man
    # does not read as a usage line) names the program as Qt was given it, not the build folder.
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
            "PATH=$<TARGET_FILE_DIR:${target}>:$ENV{PATH}"
            ${MELDLUX_HELP2MAN} --locale=C.UTF-8 --no-info --no-discard-stderr
            --version-string=${PROJECT_VERSION} --name=${description}
            --output=${page} $<TARGET_FILE_NAME:${target}>
    # help2man dates a page by the month it runs in; the release's day replaces it.
    COMMAND sed -i "s/^\\(\\.TH [^ ]* [^ ]* \\)\"[^\"]*\"/\\1\"${MELDLUX_RELEASE_DATE}\"/" ${page}
    COMMAND ${MELDLUX_GZIP} -9nf ${page}
    DEPENDS ${target} VERBATIM)
  add_custom_target(${target}_man_page ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# A page in section 1 written by hand; LANG puts it under man/LANG/man1 as NAME.1.gz.
function(meldlux_man_page_file file name)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "LANG" "")
  set(dir ${CMAKE_INSTALL_MANDIR}/man1)
  set(out ${MELDLUX_MAN_DIR}/${name}.1.gz)
  if(arg_LANG)
    set(dir ${CMAKE_INSTALL_MANDIR}/${arg_LANG}/man1)
    set(out ${MELDLUX_MAN_DIR}/${arg_LANG}/${name}.1.gz)
  endif()
  get_filename_component(out_dir ${out} DIRECTORY)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND sh -c "${MELDLUX_GZIP} -9nc \"$1\" > \"$2\"" sh ${file} ${out}
    DEPENDS ${file} VERBATIM)
  string(MAKE_C_IDENTIFIER "${name}_${arg_LANG}_man_page" target)
  add_custom_target(${target} ALL DEPENDS ${out})
  install(FILES ${out} DESTINATION ${dir} RENAME ${name}.1.gz)
endfunction()
