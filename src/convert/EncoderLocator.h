#pragma once
// Where an encoder program is: the user's own copy in the codecs folder
// (AppDir/Decode/codecs/NAME) when it is there and executable, else NAME on
// PATH. For "faac", which Debian does not package, our own orve-aacenc
// stands in: beside the player, else on PATH.

#include <QString>

namespace orve {

inline constexpr char kOwnAacEncoder[] = "orve-aacenc";

// The program's full path; empty when there is none. `ownProgramsFolder` is
// where the player's own programs lie (the folder of its executable).
QString FindEncoder(const QString& encoder, const QString& codecsFolder, const QString& ownProgramsFolder);

// Why a conversion cannot go on when FindEncoder found nothing, for the
// user: which program is missing and what brings it.
QString MissingEncoderReason(const QString& encoder);

}  // namespace orve
