# Writes a C++ source holding the grammar file IN as the character array NAME in namespace
# fs_grammar_data. Run at build time: cmake -DIN=... -DOUT=... -DNAME=... -P EmbedGrammar.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" len)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," body "${hex}")
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n  " body "${body}")
file(WRITE "${OUT}"
  "// Generated from ${IN}; do not edit.\n"
  "namespace fs_grammar_data {\n"
  "extern const char ${NAME}[];\n"
  "const char ${NAME}[] = {\n  ${body}'\\0'};\n"
  "}\n")
