#pragma once

#include <functional>
#include <memory>

namespace rp::banner {

class Lbf_CtrlDisplay;

// What the banner controller needs of a window that shows a Lbf_CtrlDisplay.
// The window follows the model's signals for the cancel button, the animation
// and the always-on-top switch; titles and lines it takes on repintar().
class VistaCartel {
public:
    virtual ~VistaCartel() = default;
    // Shows the window without blocking the caller (modeless).
    virtual void mostrar() = 0;
    // Brings every text up to date from the model and paints at once.
    virtual void repintar() = 0;
    virtual void ocultar() = 0;
};

// Creates the window for a freshly created banner model.
using FabricaVistaCartel = std::function<std::unique_ptr<VistaCartel>(Lbf_CtrlDisplay&)>;

} // namespace rp::banner
