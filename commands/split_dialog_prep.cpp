#include "commands/split_dialog_prep.h"

#include <algorithm>
#include <cstdio>

#include "model/directory.h"

namespace {

constexpr const char kNone[] = "なし";

std::string RangeText(int low, int high) {
  char text[32];
  std::snprintf(text, sizeof text, "%5d - %5d", low, high);
  return text;
}

}  // namespace

int RoundToLeadingMagnitude(int highest) {
  int d = 1000;
  while (d != 0 && highest / d == 0) d /= 10;
  return d != 0 ? highest / d * d : highest;
}

SplitSingleValues PrepareSplitSingle(const CDirectory& dir, RoomSet rooms, NamingForm form, SplitMethod method) {
  SplitSingleValues v;
  int highest = 0;
  for (const auto& entry : dir.entries) {
    if (!RoomInSet(rooms, entry->room)) continue;
    if (entry->kind == kKindBody) {
      v.m_strBodyFile = entry->name;
      v.m_strBodyRange = RangeText(entry->lowest, entry->highest);
      v.m_nBodyLow = entry->lowest;
      v.m_nBodyHigh = entry->highest;
    } else if (entry->kind == kKindTitle) {
      v.m_strTitleFile = entry->name;
      v.m_strTitleRange = RangeText(entry->lowest, entry->highest);
      v.m_nTitleLow = entry->lowest;
      v.m_nTitleHigh = entry->highest;
    }
    highest = std::max(highest, entry->highest);
  }
  if (v.m_nBodyHigh == kSplitNumberMax) {
    v.m_strBodyFile = v.m_strBodyRange = kNone;
    v.choices.m_nKindIndex = kKindIndexTitle;
    v.m_nFilesPresent = kFilesTitle;
  } else if (v.m_nTitleHigh == kSplitNumberMax) {
    v.m_strTitleFile = v.m_strTitleRange = kNone;
    v.choices.m_nKindIndex = kKindIndexBody;
    v.m_nFilesPresent = kFilesBody;
  } else {
    v.choices.m_nKindIndex = kKindIndexBoth;
    v.m_nFilesPresent = kFilesBoth;
  }
  const int rounded = RoundToLeadingMagnitude(highest);
  v.choices.m_nNumber = method == SplitMethod::Multiple ? 1000 : rounded;
  v.choices.m_nSavedNumber = rounded;
  v.choices.m_nForm = form;
  v.choices.m_nMethod = method;
  return v;
}

SplitMultiValues PrepareSplitMulti(NamingForm form, SplitMethod method) {
  SplitMultiValues v;
  v.m_nForm = form;
  v.m_nKindIndex = kKindIndexBoth;
  v.m_nMethod = method;
  v.m_nNumber = method == SplitMethod::Multiple ? 1000 : 0;
  v.m_nSavedNumber = 0;
  return v;
}
