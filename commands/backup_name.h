#pragma once
#include <string>

// The name a log is moved to before it is split: its name up to the first
// "." followed by ".B" and the room's generation in at least two digits
// (MES_01.B00, MES_01.B07, MES_01.B123) while backups are kept by
// generation, else ".BAK" (MES_01.BAK).
std::string BackupFileName(const std::string& logName, bool byGeneration, int generation);
