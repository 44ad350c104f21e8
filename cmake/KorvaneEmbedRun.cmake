file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR len "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE "${OUT}"
  "#include <string_view>\n"
  "namespace ${NS} {\n"
  "namespace {\nconst char k${SYMBOL}Bytes[] = {${bytes} '\\0'};\n}\n"
  "extern const std::string_view ${SYMBOL};\n"
  "const std::string_view ${SYMBOL}(k${SYMBOL}Bytes, ${len});\n"
  "}\n")
