#pragma once
#include "commands/room_selection.h"
#include "ports/dialogs.h"

class CDirectory;

// The number the single dialog proposes: the room's highest number rounded
// down to its leading magnitude, at most thousands (12345 -> 12000,
// 987 -> 900, 42 -> 40, 7 -> 7).
int RoundToLeadingMagnitude(int highest);

// The single dialog for the one room in rooms: its body and title log with
// their ranges ("なし" for a log it lacks), the kind preselected from the
// files present, the proposed number, the form and method the split starts
// from.
SplitSingleValues PrepareSplitSingle(const CDirectory& dir, RoomSet rooms, NamingForm form, SplitMethod method);

// The multiple dialog: both kinds, the form and method the split starts
// from, 1000 for the second method else 0.
SplitMultiValues PrepareSplitMulti(NamingForm form, SplitMethod method);
