// Numbers of the VST 2.4 binary interface by name: opcodes, flags, constants, struct sizes and
// field offsets. One table comes from our declaration, one from Debian's fst.h (a separate,
// independent description); the two live in separate files because fst.h declares the same
// names.
#pragma once

#include <map>
#include <string>

namespace vst2abi {

using Facts = std::map<std::string, long long>;

// Everything fst.h knows for certain (it marks what it has not worked out, and those are left
// out), under the names of our declaration.
Facts fstFacts();
// The same names from our declaration.
Facts ourFacts();

} // namespace vst2abi
