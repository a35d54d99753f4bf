# Turns the UTF-8 message catalogue (lines of "<id><TAB><text>") into a C++ source holding the
# file's bytes verbatim; the catalogue is parsed at run time. Embedding the raw bytes keeps every
# character, whatever it is, exactly as written.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp" "// Generated from resources/strings.ja.tsv; do not edit.\n#include <cstddef>\nnamespace velvasto::detail {\nextern const unsigned char kCatalogueBytes[] = {\n${bytes}0};\nextern const std::size_t kCatalogueSize = ${byte_count};\n}\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
