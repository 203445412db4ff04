# One place for the flags every target of ours shares.
add_library(vellumore_flags INTERFACE)
target_compile_options(vellumore_flags INTERFACE -Wall -Wextra)
target_compile_definitions(vellumore_flags INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER SQLITE_HAS_CODEC)
if(VELLUMORE_WERROR)
    target_compile_options(vellumore_flags INTERFACE -Werror)
endif()
if(VELLUMORE_SANITIZE)
    target_compile_options(vellumore_flags INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(vellumore_flags INTERFACE -fsanitize=address,undefined)
endif()
