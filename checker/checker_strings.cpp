#include "checker/checker_strings.h"

std::string_view CheckerString(int id) {
  switch (id) {
    case kStrSettingMissing:
      return "KIV がインストールされていないか、以前のバージョンのレジストリをアップデートしていません。";
    case kStrSettingMissingCaption:
      return "ゾルベンのエラー";
    case kStrCheckDone:
      return "チェックが終了しました。";
    case kStrCheckDoneCaption:
      return "ゾルベン";
  }
  return {};
}
