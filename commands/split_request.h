#pragma once
#include "commands/room_selection.h"
#include "ports/dialogs.h"
#include "ports/split_forms.h"

class CKivDoc;

// What to do when a log's backup name is taken by an earlier backup.
enum class BackupOverwrite {
  Ask,        // the user decides, one backup at a time
  Overwrite,  // the earlier backup goes, unasked
  Keep,       // the earlier backup stays and the log is not split
};

// Where a split starts from besides the rooms and the dialog: the form and
// method the dialog opens with, and how backups are kept.
struct SplitSettings {
  NamingForm form = NamingForm::Archive;
  SplitMethod method = SplitMethod::Single;
  bool backupPerGeneration = true;  // MES_05.B00, .B01 ... rather than one MES_05.BAK
  BackupOverwrite overwrite = BackupOverwrite::Ask;
};

// One split, as the front end asks for it: the rest is the folder's.
struct SplitRequest {
  RoomSet rooms = 0;
  bool singleRoom = false;  // one room: its number is the cut value whatever the method
  int number = 0;           // the dialog's cut value (single method) or step (multiple)
  int kindSet = 3;          // the logs split: 1 body, 2 title, 3 both
  NamingForm form = NamingForm::Archive;
  SplitMethod method = SplitMethod::Single;
  bool backupPerGeneration = true;
  BackupOverwrite overwrite = BackupOverwrite::Ask;
  // The command goes on to the header export: a run that does not live to
  // make it leaves it to the next run's repair.
  bool exportAsked = false;
};

// The desktop program's settings: the form and method stored (the last
// ones chosen), the backup mode in effect for this run, and asking before
// a backup is replaced unless the user turned that off for this run.
SplitSettings StoredSplitSettings(const CKivDoc& doc);

// The request for rooms from what the dialog chose and the settings.
SplitRequest MakeSplitRequest(RoomSet rooms, bool singleRoom, const SplitChoices& chosen, const SplitSettings& settings,
                              bool exportAsked);
