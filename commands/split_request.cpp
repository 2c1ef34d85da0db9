#include "commands/split_request.h"

#include "commands/split_dialog_logic.h"
#include "model/kiv_doc.h"

SplitSettings StoredSplitSettings(const CKivDoc& doc) {
  SplitSettings settings;
  settings.form = NamingFormFromSetting(doc.m_nArcType);
  settings.method = SplitMethodFromSetting(doc.m_nSepMethod);
  settings.backupPerGeneration = doc.m_nBackUp != 0;
  settings.overwrite = doc.m_bNoOverwriteConfirm ? BackupOverwrite::Overwrite : BackupOverwrite::Ask;
  return settings;
}

SplitRequest MakeSplitRequest(RoomSet rooms, bool singleRoom, const SplitChoices& chosen, const SplitSettings& settings,
                              bool exportAsked) {
  SplitRequest request;
  request.rooms = rooms;
  request.singleRoom = singleRoom;
  request.number = chosen.m_nNumber;
  request.kindSet = KindSetFromIndex(chosen.m_nKindIndex);
  request.form = chosen.m_nForm;
  request.method = chosen.m_nMethod;
  request.backupPerGeneration = settings.backupPerGeneration;
  request.overwrite = settings.overwrite;
  request.exportAsked = exportAsked;
  return request;
}
