#include "cli/option_table.h"

namespace tintwalk {

namespace {

std::string_view WithoutDashes(std::string_view name) {
    name.remove_prefix(name.starts_with("--") ? 2 : name.starts_with("-") ? 1 : 0);
    return name;
}

const OptionName* FindOption(std::span<const OptionName> table, OptionDashes dashes,
                             const std::string& name) {
    for (const OptionName& option : table) {
        if (dashes == OptionDashes::kAsWritten ? name == option.name
                                               : WithoutDashes(name) == WithoutDashes(option.name))
            return &option;
    }
    return nullptr;
}

}  // namespace

bool ReadOptions(const std::vector<std::string>& arguments, std::span<const OptionName> table,
                 OptionDashes dashes, const OptionHandler& apply, std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() < 2 || argument[0] != '-') {
            error = "unexpected argument '" + argument + "' (see --help)";
            return false;
        }
        const bool splits =
            argument[1] == '-' ? argument.size() > 2 : dashes == OptionDashes::kOneOrTwo;
        const size_t equals = splits ? argument.find('=') : std::string::npos;
        const std::string name = argument.substr(0, equals);
        const OptionName* option = FindOption(table, dashes, name);
        if (option == nullptr) {
            error = "unknown option '" + name + "' (see --help)";
            return false;
        }
        std::string value;
        if (!option->takesValue) {
            if (equals != std::string::npos) {
                error = "option '" + name + "' takes no value";
                return false;
            }
        } else if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--")) {
            value = arguments[++i];
        }
        if (option->takesValue && value.empty()) {
            error = "option '" + name + "' needs a value";
            return false;
        }
        if (!apply(*option, value, error))
            return false;
    }
    return true;
}

}  // namespace tintwalk
