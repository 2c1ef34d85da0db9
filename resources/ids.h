#pragma once

// Every resource id Kiv and its companions use, named once. A command's id is
// also the id of its prompt text and of its toolbar picture; a message's
// caption is the text just above it (id + 1). Widgets keep their resource id
// as their object name (IdName), so tests find them through these names too.
namespace ids {

// ---- Commands of the menus and the toolbar --------------------------------
inline constexpr int kCmdAnalyze = 49408;
inline constexpr int kCmdSplit = 49409;
inline constexpr int kCmdUndo = 49410;
inline constexpr int kCmdSelectAll = 49411;
inline constexpr int kCmdSelectInvert = 49412;
inline constexpr int kCmdSelectUnanalyzed = 49413;
inline constexpr int kCmdSelectNone = 49414;
inline constexpr int kCmdColoursAndFonts = 49415;
inline constexpr int kCmdSettings = 49416;
inline constexpr int kCmdNoOverwriteConfirm = 49417;
inline constexpr int kCmdExportHeaders = 49418;
inline constexpr int kCmdExternalLaunch = 49419;
inline constexpr int kCmdHtmlHelp = 49420;
inline constexpr int kCmdRefresh = 49421;  // the tree and the list read again from the disk
inline constexpr int kCmdAbout = 57664;
inline constexpr int kCmdExit = 57665;
inline constexpr int kCmdHelpIndex = 57666;
inline constexpr int kCmdHelpTopics = 57667;
inline constexpr int kCmdHelpUsing = 57668;
inline constexpr int kCmdContextHelp = 57669;
inline constexpr int kCmdHelp = 57670;
inline constexpr int kCmdNextPane = 57680;
inline constexpr int kCmdPreviousPane = 57681;
inline constexpr int kCmdToggleToolBar = 59392;
inline constexpr int kCmdToggleStatusBar = 59393;

// ---- Texts ----------------------------------------------------------------
// While the companion speaks, a text is taken from its twin this far below.
inline constexpr int kCompanionVoiceShift = 4096;

inline constexpr int kStrSettingsCaption = 103;
inline constexpr int kStrDocumentTemplate = 128;
inline constexpr int kStrDefaultUserName = 30000;
inline constexpr int kStrHonorificMale = 30002;  // %2 of the companion's voice
inline constexpr int kStrHonorificFemale = 30003;
inline constexpr int kStrCompany = 49152;  // first text of the normal voice's lower block
inline constexpr int kStrVersion = 49153;
inline constexpr int kStrAboutNotice = 49154;
inline constexpr int kStrFolderBrowserTitle = 49934;
inline constexpr int kStrUnknownRoomName = 49936;
inline constexpr int kStrNotePassedOver = 50238;  // status line: a log outside rooms 1-20
inline constexpr int kStrNoteExported = 50239;    // status line: what the export wrote
inline constexpr int kStrProgramName = 57344;     // first text of the normal voice's upper block
inline constexpr int kStrIdlePrompt = 57345;
inline constexpr int kStrHelpModePrompt = 57346;
// Prompts of the window menu.
inline constexpr int kStrWindowSizePrompt = 61184;
inline constexpr int kStrWindowClosePrompt = 61190;
inline constexpr int kStrWindowRestorePrompt = 61202;
inline constexpr int kStrTaskSwitchPrompt = 61203;

// ---- Messages (the caption is the next id) ---------------------------------
inline constexpr int kMsgChangedSinceAnalysis = 49664;
inline constexpr int kMsgBackupExists = 49666;
inline constexpr int kMsgBackupExistsCaption = 49667;
inline constexpr int kMsgNameOverflow = 49668;  // no archive letter or serial left
inline constexpr int kMsgNameClash = 49670;     // an old log of that name exists
inline constexpr int kMsgNoUsableBackup = 49672;
inline constexpr int kMsgConfirmSplit = 49674;
inline constexpr int kMsgLaunchFailed = 49676;
inline constexpr int kMsgAskSaveWindow = 49678;
inline constexpr int kMsgBadPath = 49920;
inline constexpr int kMsgNotAFolder = 49922;
inline constexpr int kMsgConfirmFolderChange = 49924;
inline constexpr int kMsgProgramMissing = 49926;
inline constexpr int kMsgOutsideRange = 49928;
inline constexpr int kMsgBackUpChangedLater = 49930;
inline constexpr int kMsgZeroStep = 49932;
inline constexpr int kMsgGenerationsBack = 49952;
inline constexpr int kMsgLinePrefix = 49954;  // "%1 - line %2 :", never in the companion's voice
inline constexpr int kMsgCheckerMissing = 50208;
inline constexpr int kMsgCheckerMissingCaption = 50209;
inline constexpr int kMsgMixedLog = 50210;  // body and title headers in one file
inline constexpr int kMsgMixedLogCaption = 50211;
inline constexpr int kMsgNumberOutOfRange = 50212;  // a message number above 65536
inline constexpr int kMsgNumberOutOfRangeCaption = 50213;
inline constexpr int kMsgDataAfterEndMark = 50214;  // text after an end-of-text byte part way
inline constexpr int kMsgDataAfterEndMarkCaption = 50215;
// What the next run did about a command cut short.
inline constexpr int kMsgRepairSplitFinished = 50224;
inline constexpr int kMsgRepairSplitTakenBack = 50226;
inline constexpr int kMsgRepairUndoFinished = 50228;
inline constexpr int kMsgRepairAppendFinished = 50230;
inline constexpr int kMsgRepairFailed = 50232;
inline constexpr int kMsgOnlyInBackup = 50234;  // the host wrote to a log's backup after its split
inline constexpr int kMsgMissingLogFolder = 50236;
inline constexpr int kMsgWrittenSinceSplit = 50240;
inline constexpr int kMsgJournalSetAside = 50250;   // a journal not to be trusted, kept under another name
inline constexpr int kMsgWrittenAfterUndo = 50252;  // the host wrote into the file an undo displaced
// Another program is changing the forum (%1 the forum, %2 the program).
inline constexpr int kMsgForumBusy = 50256;
inline constexpr int kStrUnknownForumHolder = 50258;  // %2 when the lock file names no program
// The same, while Kiv lets go of a forum whose history it has to write.
inline constexpr int kMsgForumBusyForHistory = 50260;
inline constexpr int kMsgStopToClose = 50262;    // the close box while a command works
inline constexpr int kStrNoteStopped = 50264;    // status line: a command the user stopped
inline constexpr int kStrNoteSplit = 50265;      // status line: the old logs a split made
inline constexpr int kStrNoteLeftAlone = 50266;  // status line: rooms a split of several left alone
inline constexpr int kStrNoteUndone = 50267;     // status line: the logs an undo took back

// ---- Dialogs ---------------------------------------------------------------
inline constexpr int kDlgAbout = 100;
inline constexpr int kDlgFolderPage = 104;  // settings sheet, "フォルダ"
inline constexpr int kDlgLaunchPage = 105;  // settings sheet, "外部起動"
inline constexpr int kDlgSplitSingle = 152;
inline constexpr int kDlgSplitMulti = 153;
inline constexpr int kDlgSharedFolder = 155;
inline constexpr int kDlgCompanion = 156;
inline constexpr int kDlgColorFont = 158;
inline constexpr int kDlgNumberPad = 159;
inline constexpr int kDlgGreeting = 161;

// ---- Controls --------------------------------------------------------------
inline constexpr int kToolBarMain = 128;
// The status bar's progress display.
inline constexpr int kCtlProgressText = 101;
inline constexpr int kCtlProgressBar = 102;
inline constexpr int kCtlStopButton = 103;  // 中止 beside the progress
// The split dialogs.
inline constexpr int kCtlSingleNumber = 1000;
inline constexpr int kCtlBodyFile = 1004;
inline constexpr int kCtlBodyRange = 1005;
inline constexpr int kCtlTitleFile = 1013;
inline constexpr int kCtlTitleRange = 1014;
inline constexpr int kCtlSingleKind = 1015;
inline constexpr int kCtlMultiNumber = 1016;
inline constexpr int kCtlMultiKind = 1020;
inline constexpr int kCtlSingleCutMethod = 1053;   // first method: cut at the number
inline constexpr int kCtlSingleStepMethod = 1054;  // second method: cut at every multiple
inline constexpr int kCtlMultiCutMethod = 1055;
inline constexpr int kCtlMultiStepMethod = 1056;
inline constexpr int kCtlSingleArchiveForm = 300;
inline constexpr int kCtlSingleSerialForm = 301;
inline constexpr int kCtlMultiArchiveForm = 302;
inline constexpr int kCtlMultiSerialForm = 303;
// The settings sheet.
inline constexpr int kCtlLogFolder = 1023;
inline constexpr int kCtlLogFolderBrowse = 1024;
inline constexpr int kCtlProgram = 1032;
inline constexpr int kCtlProgramBrowse = 1033;
inline constexpr int kCtlProgramOptions = 1034;
inline constexpr int kCtlBackUpPerGeneration = 1057;
inline constexpr int kCtlCheckArchiveList = 1060;
// The shared log folder dialog of the first start.
inline constexpr int kCtlFirstFolder = 1026;
inline constexpr int kCtlFirstFolderBrowse = 1027;
// The About box and the companion dialog.
inline constexpr int kCtlAboutNotice = 1029;
inline constexpr int kCtlAboutTitle = 1030;
inline constexpr int kCtlAboutIcon = 1042;
inline constexpr int kCtlCompanionOn = 1037;
inline constexpr int kCtlCompanionName = 1038;
inline constexpr int kCtlCompanionMale = 310;
inline constexpr int kCtlCompanionFemale = 311;
// The colour and font dialog.
inline constexpr int kCtlTreeFont = 1043;
inline constexpr int kCtlTreeBack = 1044;
inline constexpr int kCtlTreeText = 1045;
inline constexpr int kCtlListFont = 1046;
inline constexpr int kCtlListText = 1047;
inline constexpr int kCtlListBack = 1048;
inline constexpr int kCtlListSample = 1049;
inline constexpr int kCtlTreeSample = 1050;
// The keypad: the digit n is kCtlPadDigit0 + n.
inline constexpr int kCtlPadClear = 1051;
inline constexpr int kCtlPadDisplay = 1052;
inline constexpr int kCtlPadDigit0 = 1070;

// ---- Pictures --------------------------------------------------------------
inline constexpr int kIconProgram = 128;
inline constexpr int kIconFolderSelected = 133;  // tree node, selected
inline constexpr int kIconFolder = 134;
inline constexpr int kIconBody = 135;  // list rows: body, body with undo, title, title with undo
inline constexpr int kIconBodyUndo = 136;
inline constexpr int kIconTitle = 137;
inline constexpr int kIconTitleUndo = 138;
inline constexpr int kIconCompanion = 157;

// ---- TORBLEN's own resources -----------------------------------------------
inline constexpr int kCheckerIcon = 128;
inline constexpr int kCheckerProgressDialog = 102;
inline constexpr int kCheckerFolderLine = 1000;

}  // namespace ids
