# Every target of ours goes through qser_target_defaults so that warnings and sanitizers are uniform.
add_library(qser_options INTERFACE)
target_compile_options(qser_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                              -Wno-sign-conversion)
if(QSER_WERROR)
  target_compile_options(qser_options INTERFACE -Werror)
endif()
if(QSER_SANITIZE)
  target_compile_options(qser_options INTERFACE -fsanitize=address,undefined
                                                -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(qser_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

function(qser_target_defaults target)
  target_link_libraries(${target} PRIVATE qser_options)
endfunction()
