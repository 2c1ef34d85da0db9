#pragma once

class MessagePort;

// The archive list checker run at start-up when the user asked for it:
// "TORBLEN /KIV" found beside Kiv, in the current folder or along PATH,
// started in the current folder and waited for, its exit status unused.
// When it can't be started, kMsgCheckerMissing says so in a box with no owner.
// True when it ran.
bool RunArchiveListChecker(MessagePort& messages);
