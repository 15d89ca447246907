#include "saver/x11/messages.h"

#include <cstdio>

#include "core/diagnostics.h"

namespace tintwalk {

void Fail(const std::string& message) {
    Diagnostic(stderr, "tintwalk: %s\n", message.c_str());
}

std::string HexId(unsigned long id) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

}  // namespace tintwalk
