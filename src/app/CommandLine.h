#pragma once
// Names on the command line. A desktop starts the program from its menu
// entry ("Exec=orve %U") with addresses: a local file comes as a "file:"
// URI, its bytes percent-encoded, a station as its http(s) address; a
// playlist file is opened the same way.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace orve {

// The playlist name an argument stands for: a "file:" URI of this machine
// (no host, or "localhost") becomes the file it names, its bytes kept as
// DecodeFileName holds them (settings/FileNames.h); any other argument is
// its own bytes.
QString CommandLineName(QByteArrayView argument);

// The names of argv[1..argc-1] for the playlist, each as CommandLineName
// gives it; an M3U or PLS file (.m3u, .m3u8, .pls) stands for the entries it
// lists (playlist/PlaylistFiles.h), and one that cannot be read for none.
QStringList CommandLineNames(int argc, char** argv);

}  // namespace orve
