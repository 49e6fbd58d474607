# Writes the Debian changelog from CHANGELOG.md: each "## VERSION (YYYY-MM-DD)" heading becomes
# an entry, each "- " item (with its indented continuation lines) one "  * " line of it.
# Usage: cmake -DIN=CHANGELOG.md -DOUT=changelog.Debian -DMAINTAINER="..." -P debian_changelog.cmake
file(STRINGS ${IN} lines ENCODING UTF-8)
set(out "")
set(open FALSE)
macro(close_entry)
  if(open)
    string(APPEND out "\n -- ${MAINTAINER}  ${date}\n\n")
  endif()
endmacro()
foreach(line IN LISTS lines)
  if(line MATCHES "^## ([^ ]+) \\(([0-9-]+)\\)")
    close_entry()
    set(version ${CMAKE_MATCH_1})
    string(REPLACE "-" ";" ymd ${CMAKE_MATCH_2})
    list(GET ymd 0 y)
    list(GET ymd 1 m)
    list(GET ymd 2 d)
    # date -R writes the day and month names in English whatever the locale.
    execute_process(COMMAND env LC_ALL=C date -u -R -d "${y}-${m}-${d} 00:00:00" OUTPUT_VARIABLE date
                    OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND out "meldlux (${version}-1) unstable; urgency=medium\n\n")
    set(open TRUE)
  elseif(open AND line MATCHES "^- (.*)")
    string(APPEND out "  * ${CMAKE_MATCH_1}\n")
  elseif(open AND line MATCHES "^  +(.*)")
    string(APPEND out "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
close_entry()
string(REGEX REPLACE "\n\n$" "\n" out "${out}")
file(WRITE ${OUT} "${out}")
