#include "platform/text/program_arguments.h"

namespace plumet::text {

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv, argv + argc}; }

}  // namespace plumet::text
