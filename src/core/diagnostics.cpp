#include "core/diagnostics.h"

#include <cstdarg>

namespace tintwalk {

namespace {

DiagnosticRoute route = DiagnosticRoute::kUsualStreams;

}  // namespace

void SetDiagnosticRoute(DiagnosticRoute newRoute) {
    route = newRoute;
}

void Diagnostic(std::FILE* stream, const char* format, ...) {
    if (route == DiagnosticRoute::kSilent)
        return;
    if (route == DiagnosticRoute::kStandardError)
        stream = stderr;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stream, format, arguments);
    va_end(arguments);
}

}  // namespace tintwalk
