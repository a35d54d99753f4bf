# Turns a file into a C++ source holding its bytes verbatim as velvasto::detail::<SYMBOL>Bytes
# (with a zero byte after them) and <SYMBOL>Size. Arguments: INPUT, OUTPUT, SYMBOL.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "((('[^']*'),){16})" "\\1\n" bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp" "// Generated from ${name}; do not edit.\n#include <cstddef>\nnamespace velvasto::detail {\nextern const char ${SYMBOL}Bytes[] = {\n${bytes}0};\nextern const std::size_t ${SYMBOL}Size = ${byte_count};\n}  // namespace velvasto::detail\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
