#include "widgets/Compositing.h"

#include <QGuiApplication>
#include <cstdlib>
#include <string>
#include <xcb/xcb.h>

namespace orve {

std::optional<bool> CompositorRunning() {
  const auto* x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 == nullptr ? nullptr : x11->connection();
  if (connection == nullptr) return std::nullopt;
  // A compositing manager owns the selection _NET_WM_CM_S<screen> (EWMH).
  const char* display = std::getenv("DISPLAY");
  const std::string text = display == nullptr ? std::string() : std::string(display);
  const auto dot = text.rfind('.');
  const auto colon = text.rfind(':');
  const std::string screen = dot != std::string::npos && (colon == std::string::npos || dot > colon) ? text.substr(dot + 1) : "0";
  const std::string name = "_NET_WM_CM_S" + screen;
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
  if (atom == nullptr) return std::nullopt;
  xcb_get_selection_owner_reply_t* owner =
      xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
  std::free(atom);
  if (owner == nullptr) return std::nullopt;
  const bool running = owner->owner != XCB_NONE;
  std::free(owner);
  return running;
}

}  // namespace orve
