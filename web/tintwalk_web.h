// The C interface that the web page calls: one picture per module instance,
// started at a size, ticked like the saver's frame clock, and painted into
// an RGBA buffer laid out as a canvas expects (top row first).
#pragma once

#include <cstdint>

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#define TINTWALK_WEB_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE
#else
#define TINTWALK_WEB_EXPORT extern "C"
#endif

// Loads community `row` with `seed` on a width x height habitat and fills the
// canvas buffer with its background. 1 on success; 0 when the memory for the
// habitat, the bots or the buffer is not there (nothing is kept then); -1 for
// a row or size outside what the renderer accepts.
TINTWALK_WEB_EXPORT int32_t tw_start(int32_t row, uint32_t seed, int32_t width, int32_t height);
// `count` frame ticks of two passes each; the points of every pass are
// painted into the canvas buffer as the saver draws them on its screen.
TINTWALK_WEB_EXPORT void tw_ticks(int32_t count);
// Frees the picture.
TINTWALK_WEB_EXPORT void tw_stop();

// The canvas buffer (width x height RGBA, top row first) and the RGB
// habitat (bottom row first); null before a successful start.
TINTWALK_WEB_EXPORT uint8_t* tw_rgba();
TINTWALK_WEB_EXPORT uint8_t* tw_rgb();
// Bot steps of one tick of the running picture: 2 passes x bots x trail.
TINTWALK_WEB_EXPORT double tw_steps_per_tick();

// The frame clock's period in milliseconds, and the largest width or height
// that tw_start accepts: the same as the saver's and the renderer's.
TINTWALK_WEB_EXPORT uint32_t tw_frame_period_ms();
TINTWALK_WEB_EXPORT uint32_t tw_max_side();

// 1 when the pointer's travel from (anchorX, anchorY) to (x, y) ends a
// saver, as the savers judge it; 0 otherwise.
TINTWALK_WEB_EXPORT int32_t tw_pointer_travel_wakes(int32_t anchorX, int32_t anchorY, int32_t x,
                                                    int32_t y);

// The preset table: the number of rows, each row's name (a C string) and
// its background as 0xRRGGBB.
TINTWALK_WEB_EXPORT int32_t tw_community_count();
TINTWALK_WEB_EXPORT const char* tw_community_name(int32_t row);
TINTWALK_WEB_EXPORT uint32_t tw_community_background(int32_t row);
// A buffer of kTextBufferSize bytes for the page to pass a C string in, and
// the row of the community that the string in it names (a name or "0".."9";
// -1 for none).
constexpr int32_t kTextBufferSize = 64;
TINTWALK_WEB_EXPORT char* tw_text_buffer();
TINTWALK_WEB_EXPORT int32_t tw_find_community();
// The row and seed that the clock chooses for a time in whole seconds.
TINTWALK_WEB_EXPORT int32_t tw_row_from_time(double seconds);
TINTWALK_WEB_EXPORT uint32_t tw_seed_from_time(double seconds);
