#include "checker/checker_strings.h"

std::string_view CheckerString(int id) {
  switch (id) {
    case kStrSettingMissing:
      return "KIV がインストールされていないか、以前のバージョンのレジストリをアップデートしていません。";
    case kStrSettingMissingCaption: return "ゾルベンのエラー";
    case kStrCheckDone: return "チェックが終了しました。";
    case kStrCheckDoneCaption: return "ゾルベン";
    case kStrListEndsEarly:
      return "%1 :\n書庫リストファイルの途中にファイル終端文字 (0x1A) があり、最後まで読めないため変更しませんでした。";
    case kStrListNotConfined:
      return "%1 :\n書庫リストファイルが通常のファイルではないか、共有ログフォルダの外を指しているため変更しませんでした。";
    case kStrListBusy:
      return "%1 :\n他のプログラム (%2) がこのフォーラムを変更中のため、書庫リストファイルを変更しませんでした。";
    case kStrUnknownHolder: return "不明なプログラム";
  }
  return {};
}
