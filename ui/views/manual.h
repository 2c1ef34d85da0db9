#pragma once
#include <functional>

#include <QString>
#include <QUrl>

class MessagePort;
class QWidget;

// The program's manual: an HTML page shipped with the program, shown in the
// program's own help window, so that help opens whatever the desktop has set
// up.
QString ManualPath();

// Where the manual of a program in programFolder is: in the documentation
// folder of the installed tree (share/doc/kiv beside bin/), else beside the
// program. When it is in neither, the installed place, to be named as missing.
QString ManualPathFrom(const QString& programFolder);

// Opens the manual at a section (empty: its top), in the help window of
// owner. A manual that is not there is reported as a file error naming it.
void OpenManual(MessagePort& messages, const QString& section = {}, QWidget* owner = nullptr);

// What opens the page instead of the help window (tests set their own;
// an empty function restores the help window).
void SetManualOpener(std::function<bool(const QUrl&)> opener);
