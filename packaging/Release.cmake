# The version and the day it was released, read from the latest entry of
# debian/changelog: the package, the program, the manual page and the
# AppStream release then cannot disagree, and a release is one new changelog
# entry (dch --newversion). Sets KLIKVAR_VERSION and KLIKVAR_RELEASE_DATE
# (YYYY-MM-DD); runs before project(), which takes the version.
function(klikvar_read_release)
    set(changelog ${CMAKE_CURRENT_LIST_DIR}/../debian/changelog)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})

    # "klikvar (1.00.0007) unstable; urgency=medium": the package is native, so
    # its version is the program's, and CMake takes only dotted numbers.
    file(STRINGS ${changelog} heading LIMIT_COUNT 1)
    if(NOT heading MATCHES "^klikvar \\(([0-9]+(\\.[0-9]+)*)\\) ")
        message(FATAL_ERROR "debian/changelog: the latest entry's version is not dotted numbers: ${heading}")
    endif()
    set(KLIKVAR_VERSION ${CMAKE_MATCH_1} PARENT_SCOPE)

    # " -- Name <address>  Mon, 07 Dec 2026 12:00:00 +0000": the day as written.
    file(STRINGS ${changelog} trailer REGEX "^ -- " LIMIT_COUNT 1)
    if(NOT trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
        message(FATAL_ERROR "debian/changelog: no date in the latest entry's trailer: ${trailer}")
    endif()
    set(day ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_3})
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${CMAKE_MATCH_2} month)
    if(month LESS 0)
        message(FATAL_ERROR "debian/changelog: unknown month in ${trailer}")
    endif()
    math(EXPR month "${month} + 1")
    foreach(part day month)
        string(LENGTH ${${part}} digits)
        if(digits EQUAL 1)
            set(${part} 0${${part}})
        endif()
    endforeach()
    set(KLIKVAR_RELEASE_DATE ${year}-${month}-${day} PARENT_SCOPE)
endfunction()
klikvar_read_release()
