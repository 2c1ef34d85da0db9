#pragma once
#include <functional>

#include <QString>
#include <QUrl>

class MessagePort;

// The program's manual: an HTML page shipped beside the program, shown in
// the desktop's browser.
QString ManualPath();

// Opens the manual at a section (empty: its top). A manual that is not
// there is reported as a file error naming it.
void OpenManual(MessagePort& messages, const QString& section = {});

// What opens the page (the desktop's browser unless set; tests set their own).
void SetManualOpener(std::function<bool(const QUrl&)> opener);
