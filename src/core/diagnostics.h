// Where the simulation's diagnostic lines go. Each line is written for one of
// the standard streams: progress lines ("Biotope::Create(...)", "created ...",
// the genes lines) for standard output, InitCommunity's lines and every
// failure line for standard error. The savers keep that. A program whose
// standard output is its result (the renderer) moves them all to standard
// error, or silences them.
#pragma once

#include <cstdio>

namespace tintwalk {

enum class DiagnosticRoute {
    kUsualStreams,   // each line on the stream it was written for
    kStandardError,  // every line on standard error
    kSilent,         // no line at all
};

void SetDiagnosticRoute(DiagnosticRoute route);

// Writes a diagnostic line, or a piece of one, meant for `stream` (stdout or
// stderr) wherever the route sends it.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void Diagnostic(std::FILE* stream, const char* format, ...);

}  // namespace tintwalk
