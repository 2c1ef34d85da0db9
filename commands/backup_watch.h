#pragma once
#include <string>
#include <vector>

#include "platform/file_ops.h"

class Messenger;

// The backups splits have made, each still the log's old file. A host that
// kept the log open while it was split writes on into that file, now under
// the backup name: those messages are only there, and the user must hear of
// it. Each backup is told of once, under the name it is then kept under
// (MES_01.U00), which no later split replaces.
class BackupWatch {
 public:
  void Add(const std::string& folder, const std::string& backupName, const plat::FileIdentity& source);
  void Add(const BackupWatch& other);
  // Tells of every backup that grew since its split; returns how many.
  int TellWrittenTo(Messenger& messenger);

 private:
  struct Watched {
    std::string folder;
    std::string backupName;
    plat::FileIdentity source;  // the log as the split read it
    bool told = false;
  };
  std::vector<Watched> watched_;
};
