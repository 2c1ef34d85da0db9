#pragma once
#include <functional>

#include <QString>
#include <QUrl>

class MessagePort;

// The program's manual: an HTML page shipped with the program, shown in
// the desktop's browser.
QString ManualPath();

// Where the manual of a program in programFolder is: in the documentation
// folder of the installed tree (share/doc/kiv beside bin/), else beside the
// program. When it is in neither, the installed place, to be named as missing.
QString ManualPathFrom(const QString& programFolder);

// Opens the manual at a section (empty: its top). A manual that is not
// there is reported as a file error naming it.
void OpenManual(MessagePort& messages, const QString& section = {});

// What opens the page (the desktop's browser unless set; tests set their own).
void SetManualOpener(std::function<bool(const QUrl&)> opener);
