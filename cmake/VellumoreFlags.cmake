# One place for the flags every target of ours shares.
add_library(vellumore_flags INTERFACE)
# Chosen for faults they have caught in Qt code, not for count:
#   -pedantic                       no compiler extensions slip in unnoticed
#   -Wold-style-cast -Wcast-qual    every cast is named, and none drops a const
#   -Woverloaded-virtual            an "override" with a wrong signature hides the virtual
#   -Wnon-virtual-dtor              deleting through a base pointer skips the derived part
#   -Wsuggest-override              a virtual whose base changes must stop compiling
#   -Wimplicit-fallthrough          a switch case falling into the next says so ([[fallthrough]])
#   -Wformat=2                      printf-style formats stay literal and match their arguments
#   -Wundef                         #if on a misspelt macro is not silently false
#   -Wzero-as-null-pointer-constant nullptr, never 0, as a pointer
#   -Wmissing-declarations          a helper meant for one file is static or in an anonymous
#                                   namespace, so two files cannot define it twice
#   GCC: -Wduplicated-cond -Wlogical-op   copy-paste slips in conditions
# Left out: -Wshadow (every constructor parameter named after its member), -Wconversion and
# -Wsign-conversion (int against qsizetype and qreal on nearly every Qt call), -Wuseless-cast
# (qsizetype is int on some targets), -Wnull-dereference (false alarms that move with -O).
# Qt's headers come in as system headers (imported targets) and stay quiet; moc's output
# compiles clean under this set.
target_compile_options(vellumore_flags INTERFACE
    -Wall -Wextra -pedantic
    -Wold-style-cast -Wcast-qual -Woverloaded-virtual -Wnon-virtual-dtor -Wsuggest-override
    -Wimplicit-fallthrough -Wformat=2 -Wundef -Wzero-as-null-pointer-constant
    -Wmissing-declarations
    $<$<CXX_COMPILER_ID:GNU>:-Wduplicated-cond -Wlogical-op>
    # QtTest declares QSKIP(statement, ...) and is called with the statement alone, which
    # clang's -pedantic counts as an extension before C++20.
    $<$<CXX_COMPILER_ID:Clang>:-Wno-gnu-zero-variadic-macro-arguments>)
# Qt's stricter modes: no implicit conversion between bytes and text or URLs, no narrowing
# argument in connect(), none of the old iteration macros or classes. Deprecated API is
# compiled out up to 6.4, the oldest Qt we build with (find_package(Qt6 6.4)); Qt 6.4 reads
# the _BEFORE spelling, later versions the _UP_TO one.
target_compile_definitions(vellumore_flags INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_NO_FOREACH QT_NO_JAVA_STYLE_ITERATORS
    QT_DISABLE_DEPRECATED_BEFORE=0x060400 QT_DISABLE_DEPRECATED_UP_TO=0x060400
    QT_USE_QSTRINGBUILDER SQLITE_HAS_CODEC)
if(VELLUMORE_WERROR)
    target_compile_options(vellumore_flags INTERFACE -Werror)
endif()
if(VELLUMORE_SANITIZE)
    target_compile_options(vellumore_flags INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(vellumore_flags INTERFACE -fsanitize=address,undefined)
endif()
