# cmake -DINPUT=<wave> -DOUTPUT=<cpp> -DRESOURCE=<name> -P EmbedSound.cmake
# Writes the C++ source that builds the wave into the program and registers
# it as the program's own "WAVE" sound of that name.
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" length)
if(length EQUAL 0)
  message(FATAL_ERROR "EmbedSound: ${INPUT} is empty")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
# Forty bytes a line keep the source readable for a diff tool.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){40})" "\\1\n    " bytes "${bytes}")
string(REPLACE "\\" "\\\\" resource "${RESOURCE}")
file(WRITE "${OUTPUT}.tmp"
"// Made by the build from ${INPUT}.
#include \"Tarnaveli/BuiltInSounds.h\"

#include \"Sound/ProgramSounds.h\"

#include <cstdint>

namespace
{
const uint8_t kSound[] = {
    ${bytes}
};
} // namespace

void registerBuiltInSounds()
{
    registerProgramSound(\"${resource}\", \"WAVE\", kSound);
}
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
