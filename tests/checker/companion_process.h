#pragma once
#include <string>
#include <vector>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs one of the companion programs the way Kiv or a user does, on the
// offscreen platform, with its settings kept under configHome so that no
// real settings are touched. Message boxes are answered from answers (see
// DesktopMessageBox::TakeScriptFromEnvironment) and come back as the "MESSAGE" lines of its output.
struct CompanionRun {
  bool finished = false;
  int exitCode = -1;
  std::vector<std::string> messages;  // "caption<TAB>text" of each box
  std::string output;                 // everything written to standard error
};

inline CompanionRun RunCompanion(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& configHome, const std::string& answers = "") {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(configHome));
  env.insert(QStringLiteral("KIV_MESSAGE_ANSWERS"), QString::fromStdString(answers));
  process.setProcessEnvironment(env);
  QStringList arguments;
  for (const std::string& a : args) arguments << QString::fromStdString(a);
  process.start(QString::fromStdString(program), arguments);
  CompanionRun run;
  run.finished = process.waitForFinished(60000);
  if (!run.finished) {
    process.kill();
    process.waitForFinished();
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.output = process.readAllStandardError().toStdString();
  std::size_t start = 0;
  while (start < run.output.size()) {
    std::size_t end = run.output.find('\n', start);
    if (end == std::string::npos) end = run.output.size();
    std::string line = run.output.substr(start, end - start);
    if (line.rfind("MESSAGE\t", 0) == 0) run.messages.push_back(line.substr(8));
    start = end + 1;
  }
  return run;
}
