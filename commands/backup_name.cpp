#include "commands/backup_name.h"

#include <cstdio>

std::string BackupFileName(const std::string& logName, bool byGeneration, int generation) {
  const std::string base = logName.substr(0, logName.find('.'));
  if (!byGeneration) return base + ".BAK";
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", generation);
  return base + ".B" + digits;
}
