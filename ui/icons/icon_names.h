#pragma once

// The file name of the picture drawn for a resource id (program and
// companion icons, folder-tree and log-list pictures, toolbar buttons), or
// null when Kiv has none for it. Shared by the program and the drawing tool.
inline const char* IconFileName(int resourceId) {
  switch (resourceId) {
    case 128: return "program_128.png";
    case 157: return "companion_157.png";
    case 133: return "folder_selected_133.png";
    case 134: return "folder_134.png";
    case 135: return "body_135.png";
    case 136: return "body_undo_136.png";
    case 137: return "title_137.png";
    case 138: return "title_undo_138.png";
    case 49408: return "analyze_49408.png";
    case 49409: return "split_49409.png";
    case 49410: return "undo_49410.png";
    case 49411: return "select_all_49411.png";
    case 49412: return "select_invert_49412.png";
    case 49413: return "select_unanalyzed_49413.png";
    case 49414: return "select_none_49414.png";
    case 49418: return "export_49418.png";
    case 49419: return "launch_49419.png";
    case 57664: return "about_57664.png";
    case 57669: return "context_help_57669.png";
    default: return nullptr;
  }
}

// Every id above, in the order the drawing tool makes them.
inline constexpr int kDrawnIconIds[] = {128,   157,   133,   134,   135,   136,   137,   138,   49408, 49409,
                                        49410, 49411, 49412, 49413, 49414, 49418, 49419, 57664, 57669};
