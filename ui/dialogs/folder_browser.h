#pragma once
#include <optional>
#include <QString>

class QWidget;

// The folder browser of the settings: only folders can be chosen. The
// chosen folder's full path, or nothing when the user cancels.
std::optional<QString> BrowseSharedFolder(QWidget* owner, const QString& title);

// The file chooser for the external program: an existing file, by its full
// path, or nothing when the user cancels. Where programs have no extension
// it offers all files besides "*.EXE *.COM", and starts on all files.
std::optional<QString> ChooseExternalProgram(QWidget* owner);
