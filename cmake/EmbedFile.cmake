# Writes OUT, a C++ source holding the bytes of the file IN as the array NAME and their count as
# NAME_size, so that the program carries the file and looks nothing up at run time.
#   cmake -DIN=file -DOUT=file.cpp -DNAME=kName -P EmbedFile.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
get_filename_component(name "${IN}" NAME)
file(WRITE "${OUT}" "// ${name}, made into an array by cmake/EmbedFile.cmake.\n#include <cstddef>\n"
  "extern const unsigned char ${NAME}[] = {\n${bytes}};\n"
  "extern const std::size_t ${NAME}_size = ${size};\n")
