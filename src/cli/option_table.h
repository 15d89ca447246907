// The command-line options of a Linux program: a table of names, read the
// same way and refused with the same words in every program.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tintwalk {

// One name of an option, written with its usual dashes ("--seed", "-o");
// `id` is the program's own. Several names may share an id.
struct OptionName {
    const char* name;
    int id;
    bool takesValue;
};

enum class OptionDashes {
    kAsWritten,  // only the name as written in the table
    kOneOrTwo,   // one dash or two before any name ("-root", "--root")
};

// Called once per option in command-line order with its value ("" for an
// option that takes none); returns false after setting `error`.
using OptionHandler =
    std::function<bool(const OptionName& option, const std::string& value, std::string& error)>;

// Reads `arguments` (those after the program name) against `table`. An
// option takes its value after '=' in "--name=value" (and in "-name=value"
// with kOneOrTwo) or as the next argument, unless that starts with "--": a
// following option is never taken as a value. False with one line in
// `error` for the first problem: an unknown option, an argument that is not
// an option, a value missing, empty or given to an option without one, or
// what `apply` refuses.
bool ReadOptions(const std::vector<std::string>& arguments, std::span<const OptionName> table,
                 OptionDashes dashes, const OptionHandler& apply, std::string& error);

}  // namespace tintwalk
