// How the picture reaches the saver's window: through OpenGL or through an
// X image. Either way the picture (saver/picture.h) runs the community on
// the frame clock and hands each tick to the drawer's presenter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "draw/presenter.h"

namespace tintwalk {

class Drawer {
  public:
    virtual ~Drawer() = default;
    // What shows each tick in the window.
    virtual Presenter& WindowPresenter() = 0;
    // Waits until everything drawn has reached the window.
    virtual void Finish() = 0;
    // What the window shows, as packed RGB rows from the top one down.
    virtual bool ReadScreen(std::vector<uint8_t>& rgb, std::string& error) = 0;
};

}  // namespace tintwalk
