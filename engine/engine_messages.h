#pragma once
#include <string>

#include "engine/naming_error.h"
#include "messages/companion_mode.h"
#include "resources/ids.h"

// Shows a problem found at one line of a log: the line prefix filled with the
// file name and the line number, followed by the text of textId (in the
// current voice when companionText is true), under the plain caption.
void ShowLineProblem(Messenger& messenger, const std::string& fileName, long long lineNumber, int textId, int captionId,
                     bool companionText);

// Shows a naming failure the way the split command reports it: the record's
// message with its file name and the honorific, warning icon, OK; or, when
// the folder could not be listed, the file error naming the folder.
void ShowNameError(Messenger& messenger, const CNameError& error);
