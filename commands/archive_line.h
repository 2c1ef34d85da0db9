#pragma once
#include <string_view>

// The second field of an archive list line, the name of the file the line
// stands for. Fields are separated by runs of spaces (0x20 only) and leading
// spaces are skipped; the line end belongs to the last field, so in
// "M AR_9802A.LOG\n" the second field is "AR_9802A.LOG\n". Empty when the
// line has fewer than two fields.
std::string_view SecondField(std::string_view line);
