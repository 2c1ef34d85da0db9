#pragma once
#include <string>

#include "engine/naming_error.h"
#include "messages/companion_mode.h"

// Message ids the engine shows.
inline constexpr int kMsgLinePrefix = 49954;       // "%1 - line %2 :", never in the companion's voice
inline constexpr int kMsgMixedLog = 50210;         // body and title headers in one file
inline constexpr int kMsgMixedLogCaption = 50211;
inline constexpr int kMsgNumberOutOfRange = 50212;  // a message number above 65536
inline constexpr int kMsgNumberOutOfRangeCaption = 50213;
inline constexpr int kMsgDataAfterEndMark = 50214;  // text after an end-of-text byte part way
inline constexpr int kMsgDataAfterEndMarkCaption = 50215;
inline constexpr int kMsgNameOverflow = 49668;     // no archive letter or serial left
inline constexpr int kMsgNameClash = 49670;        // an old log of that name exists

// Shows a problem found at one line of a log: the line prefix filled with the
// file name and the line number, followed by the text of textId (in the
// current voice when companionText is true), under the plain caption.
void ShowLineProblem(Messenger& messenger, const std::string& fileName, long long lineNumber,
                     int textId, int captionId, bool companionText);

// Shows a naming failure the way the split command reports it: the record's
// message with its file name and the honorific, warning icon, OK; or, when
// the folder could not be listed, the file error naming the folder.
void ShowNameError(Messenger& messenger, const CNameError& error);
