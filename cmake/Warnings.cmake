# Project-wide compiler settings. Warnings are always on; CI turns them into errors.
add_compile_options(-Wall -Wextra)
if(TAVRINO_WERROR)
  add_compile_options(-Werror)
endif()

if(TAVRINO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
