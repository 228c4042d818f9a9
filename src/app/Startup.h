#pragma once
// Start-up and shutdown of the program around the event loop: the whole
// lifetime of the windows is here.

#include <QStringList>

namespace orve {

class Application;

// Reads the program folder and the colour scheme, creates the windows and
// shows the main window. Returns false when the program cannot start.
bool Startup(Application& app, const QStringList& arguments);

// Runs after the event loop has ended.
void Shutdown(Application& app);

}  // namespace orve
