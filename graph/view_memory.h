#pragma once
// The display choices of a recording kept in the user's settings file (QUORZK.INI), so
// that a recording opened again is drawn as it was left: the inputs drawn, their colours,
// automatic or fixed range, the drawing (one axis per unit or each input on its own
// scale), grid lines and the two axis inputs. A recording is known by its logger's serial
// number and the instant of its first measurement, one section each:
//
//   [Graph 4711 2001-03-12 14:21:00]
//   Inputs=1,3,6
//   Colours=0000FF,00C000,...      ; eight inputs, 0xBBGGRR as the colour table holds them
//   AutoScale=1
//   OwnScales=0
//   Grid=1
//   Axes=1,3                       ; left and right axis input, 0 for none
#include "model/ini_file.h"
#include "recording/display_settings.h"

#include <QString>

namespace qz {

class RecordingData;

// The section of a recording.
QString viewSection(const RecordingData& data);

// Writes the choices into the file's section of the recording (the other lines stay).
void rememberView(IniFile& file, const RecordingData& data, const DisplaySettings& settings,
                  const ColourTable& colours);

// The choices kept for the recording applied over settings and colours; keys that are
// missing or unreadable, and inputs the recording did not record, keep what they were.
// False when the file keeps nothing for it.
bool recallView(const IniFile& file, const RecordingData& data, DisplaySettings& settings,
                ColourTable& colours);

} // namespace qz
