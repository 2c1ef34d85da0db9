#pragma once

#include "resources/ids.h"

// The file name of the picture drawn for a resource id (program and
// companion icons, folder-tree and log-list pictures, toolbar buttons), or
// null when Kiv has none for it. Shared by the program and the drawing tool.
inline const char* IconFileName(int resourceId) {
  switch (resourceId) {
    case ids::kIconProgram: return "program_128.png";
    case ids::kIconCompanion: return "companion_157.png";
    case ids::kIconFolderSelected: return "folder_selected_133.png";
    case ids::kIconFolder: return "folder_134.png";
    case ids::kIconBody: return "body_135.png";
    case ids::kIconBodyUndo: return "body_undo_136.png";
    case ids::kIconTitle: return "title_137.png";
    case ids::kIconTitleUndo: return "title_undo_138.png";
    case ids::kCmdAnalyze: return "analyze_49408.png";
    case ids::kCmdSplit: return "split_49409.png";
    case ids::kCmdUndo: return "undo_49410.png";
    case ids::kCmdSelectAll: return "select_all_49411.png";
    case ids::kCmdSelectInvert: return "select_invert_49412.png";
    case ids::kCmdSelectUnanalyzed: return "select_unanalyzed_49413.png";
    case ids::kCmdSelectNone: return "select_none_49414.png";
    case ids::kCmdExportHeaders: return "export_49418.png";
    case ids::kCmdExternalLaunch: return "launch_49419.png";
    case ids::kCmdAbout: return "about_57664.png";
    case ids::kCmdContextHelp: return "context_help_57669.png";
    default: return nullptr;
  }
}

// Every id above, in the order the drawing tool makes them.
inline constexpr int kDrawnIconIds[] = {
    ids::kIconProgram,
    ids::kIconCompanion,
    ids::kIconFolderSelected,
    ids::kIconFolder,
    ids::kIconBody,
    ids::kIconBodyUndo,
    ids::kIconTitle,
    ids::kIconTitleUndo,
    ids::kCmdAnalyze,
    ids::kCmdSplit,
    ids::kCmdUndo,
    ids::kCmdSelectAll,
    ids::kCmdSelectInvert,
    ids::kCmdSelectUnanalyzed,
    ids::kCmdSelectNone,
    ids::kCmdExportHeaders,
    ids::kCmdExternalLaunch,
    ids::kCmdAbout,
    ids::kCmdContextHelp,
};
