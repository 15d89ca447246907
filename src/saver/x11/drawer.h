// How the picture reaches the saver's window: through OpenGL or through an
// X image. Both run the same community on the same frame clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tintwalk {

class Drawer {
  public:
    virtual ~Drawer() = default;
    // Starts a new picture of width x height cells: community `row`, `seed`.
    virtual bool Start(int32_t width, int32_t height, int32_t row, uint32_t seed) = 0;
    // One frame tick: the community's two passes, then what they painted
    // shown in the window.
    virtual void Tick() = 0;
    // What the window shows, as packed RGB rows from the top one down.
    virtual bool ReadScreen(std::vector<uint8_t>& rgb, std::string& error) = 0;
};

}  // namespace tintwalk
