#pragma once
// Start-up and shutdown of the program around the event loop.

#include <QStringList>

namespace orve {

class TApplication;

// Reads the program folder and the colour scheme, creates the windows and
// shows the main window. Returns false when the program cannot start.
bool Startup(TApplication& app, const QStringList& arguments);

// Runs after the event loop has ended.
void Shutdown(TApplication& app);

}  // namespace orve
