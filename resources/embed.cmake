# Turns a file into a C++ source that returns its bytes: cmake -DINPUT= -DOUTPUT= -DFUNCTION=
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}\n#include <span>\n\n"
  "namespace {\nconst unsigned char kBytes[] = {${bytes}};\n}\n\n"
  "std::span<const unsigned char> ${FUNCTION}() { return kBytes; }\n")
