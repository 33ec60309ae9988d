# Writes a C++ source holding the given files as byte arrays, with a table
# that finds them by number and type.
# Input: OUTPUT, and ENTRY_LIST: a file with one "id,type,file,hotX,hotY" line per resource.
file(STRINGS "${ENTRY_LIST}" groups)
set(arrays "")
set(table "")
set(index 0)
foreach(group ${groups})
  string(REPLACE "," ";" fields "${group}")
  list(GET fields 0 id)
  list(GET fields 1 type)
  list(GET fields 2 file)
  list(GET fields 3 hot_x)
  list(GET fields 4 hot_y)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char kResource${index}[] = {${bytes}};\n")
  string(APPEND table "    {${id}, \"${type}\", {kResource${index}, ${size}}, ${hot_x}, ${hot_y}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from the files in resources/; do not edit.
#include <cstring>

#include \"resources/embedded_resources.h\"

namespace plumet::resources {
namespace {
${arrays}
const EmbeddedFile kFiles[] = {
${table}};
}  // namespace

std::span<const EmbeddedFile> EmbeddedFiles() { return kFiles; }

const EmbeddedFile* FindEmbeddedFile(unsigned id, const char* type) {
  for (const EmbeddedFile& file : kFiles)
    if (file.id == id && type && std::strcmp(file.type, type) == 0) return &file;
  return nullptr;
}

}  // namespace plumet::resources
")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${OUTPUT}.tmp" "${OUTPUT}")
