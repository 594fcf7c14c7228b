# Writes the bytes of IN as a C++ array named SYMBOL into OUT.
file(READ ${IN} HEX HEX)
string(LENGTH "${HEX}" HEX_LENGTH)
math(EXPR SIZE "${HEX_LENGTH} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," BYTES "${HEX}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" BYTES "${BYTES}")
file(WRITE ${OUT} "// Generated from ${IN}.\n#include <cstddef>\nextern const unsigned char ${SYMBOL}[] = {\n${BYTES}\n};\nextern const std::size_t ${SYMBOL}Size = ${SIZE};\n")
